// The DAB file of a data version: the base DAB file copied to a name that carries the
// data version, with one line per DAB-relevant parameter and the lines naming the
// application file, the conservation file, the data version and the software.
#pragma once

#include <string>
#include <vector>

#include "base/line_value.h"

namespace quenda {

class Session;

// Sets session.state.DabNewName (also when refusing) to the base file name less its last
// six characters + the version text + ".dab". The version text is the parameter
// "DataVersion", or for RunKundenGruppe "JAP" its last two characters. When the new name
// equals the base (the base already carries the version) an OK box says so and the result
// is false; nothing is written. Otherwise the new file, next to the base, is replaced
// atomically by the base's bytes followed by the parameter lines ("<Name_DAB> = <value>",
// " = NULL" for an empty value), "APP-Datei = ", "KON-Datei = ", "DST-Text = ",
// "EPK-DST = " and, when "PST_Kennung_Variant" is set, "PST-Text = " lines, each + CR LF;
// the result is true. Ends the run through ErrorEnd naming the file or value for a base
// file name shorter than six characters, a "JAP" data version shorter than two characters,
// and a base that cannot be read or a new file that cannot be written. Throws Error 60000
// (RefusedLineValue) before writing when one of DabLineValues cannot stand in a line.
bool AppendDabFile(Session& session, const std::string& DabFileName);

// The new name AppendDabFile gives the DAB file `DabFileName`, so a run can refuse it before
// it creates anything. Ends the run through ErrorEnd as AppendDabFile does, and when the
// name is not one valid file name (a data version holding "\", "..", ":" and so on).
std::string NewDabName(Session& session, const std::string& DabFileName);

// The values AppendDabFile writes into lines of the new DAB file, each with the parameter it
// comes from: every parameter's Name_DAB and value, the application path and file, the
// data version, the software name, the variant, and `DabFileName` (the KON-Datei line).
std::vector<LineValue> DabLineValues(const Session& session, const std::string& DabFileName);

}  // namespace quenda
