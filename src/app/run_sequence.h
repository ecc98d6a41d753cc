// What Start does: prepares the release of one software build from the job's parameters
// (customer folder, DAB/hex/dam copies, data-version DAB file, release batch,
// conservation files, collection batch entry) and ends the run. Some failures end only
// the command: the window stays open and Start may be pressed again.
#pragma once

namespace quenda {

class Session;
class MainWindow;

// Returns only when the command ended without ending the run (DAB path empty or missing,
// hex file missing, data version refused by AppendDabFile); otherwise throws RunEnded
// (status 0 after "Quenda ist beendet!"). A failing copy or file operation ends the run
// through ErrorEnd with the platform's text and the path.
void RunSequence(Session& session, MainWindow& window);

}  // namespace quenda
