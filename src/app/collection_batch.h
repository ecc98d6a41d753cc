// The collection batch "Tarvell.Bat": one line per prepared release, processed later in
// one go by the series-processing tool. The user sees what is collected and chooses to
// add, to start anew, or to leave the file alone.
#pragma once

#include <string>

namespace quenda {

class Session;
class MainWindow;

// Lists the entries of `batFileName`: for every line holding a space, a running number,
// ".", a tab, the line from its first space on, CR LF. Throws the platform error.
std::string ReadFileInfo(const Session& session, const std::string& batFileName);

// The entry line for the current job.
std::string CollectionEntry(const Session& session);

// The patch explanation file: ProjectDriveRoot + customer group + "\Vertraulich\...".
std::string PatchExplanationFile(const Session& session);

// The path of the collection batch: BatDirectory, "\" added when it does not end in one,
// + "Tarvell.Bat".
std::string CollectionBatchPath(const MainWindow& window);

// The whole step: patch code prompt (when BatchAuswahl is ticked), then the entry written
// into BatDirectory + "Tarvell.Bat". A file error ends the run through ErrorEnd.
void RunCollectionBatchStep(Session& session, MainWindow& window);

}  // namespace quenda
