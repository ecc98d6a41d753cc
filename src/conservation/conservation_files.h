// The conservation files of a data version: one family of files next to the new DAB file,
// sharing its base name with a one-letter suffix: the actual values ("s"), the dummy
// values ("n") and the variant files ("o", "g", and for tuning releases "a" and "t")
// that carry only the identification blocks of slots 1 to 3.
#pragma once

#include <string>
#include <vector>

#include "base/line_value.h"

namespace quenda {

class Session;

// Writes into the folder of `dabFilePath` (the text before its last "\"), each file
// complete or not at all (atomic replace), in this order: folder\<base>s.kon (actual
// header, slots 1..SpecCount, storing the prepared values), <base>n.kon (dummy header,
// slots 4.. for customer group "003" (CfgKundenGruppe), else 1..SpecCount), <base>o.kon,
// and <base>g.kon, <base>a.kon, <base>t.kon when session.job.FlgTuningS is "1", else
// <base>g.kon alone. <base> is `dabNewName` up to its first ".". The variant files hold
// the identification blocks only when CommandFields[2] is "0" and are empty otherwise.
// A file that cannot be written ends the run through ErrorEnd naming it; the failures of
// the slot blocks are those of WriteSlotBlock and WriteIdentificationBlock. Returns the
// folder.
std::string WriteConservationFiles(Session& session, const std::string& dabFilePath,
                                   const std::string& dabNewName);

// The values the conservation files take into their blocks and comments, each with the
// parameter it comes from: label, dummy and value of every parameter that fills a slot
// (an expression's dummy only joins them), and the identification values. None may hold
// a byte no line may carry; WriteConservationBlock refuses such a value as it writes.
std::vector<LineValue> ConservationLineValues(const Session& session);

}  // namespace quenda
