// Reading a project's DAB file (lines of key "=" value). Of its values the run keeps the
// object store path, the customer group and the unmasked project value; a fixed selection
// of lines goes into the run log. The file itself is never written here.
#pragma once

#include <string>

namespace quenda {

class Session;

// Logs "dab-Datei <path> lesen.", applies every line of the file in order (see
// ApplyDabLine), then logs "dab-Datei <path> schließen.". Sets session.state.OspName,
// session.job.RunKundenGruppe and session.job.ProjectRecord50 when the file has their
// lines; values without a line keep what they held. Throws the platform Error naming the
// path when the file cannot be read, and Error 13 naming path, line number and value for
// a "pro_50" value that cannot be unmasked; lines before it have then taken effect.
void ReadDabFile(Session& session, const std::string& path);

// Applies one DAB line (`lineNumber` counts from 1, for messages only).
void ApplyDabLine(Session& session, const std::string& line, const std::string& path,
                  int lineNumber);

}  // namespace quenda
