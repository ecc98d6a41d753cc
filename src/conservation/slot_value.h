// Preparing a conservation slot's value for its block: the value computed from an
// expression or replaced by the dummy, re-coded digit by digit ("LNI"), or cut to or
// padded up to the length the object store defines.
#pragma once

#include <string>

namespace quenda {

class Session;
struct ConservationFile;

enum class ConservationPass { kActual, kDummy };

// Writes the block of slot `index` (1..20). Actual pass: an "ERG=" dummy replaces the
// value by its expression, and the prepared value is stored back into the slot's Value
// before the block is written. Dummy pass: a literal dummy (not "-", not "ERG") replaces
// the stored value. A value longer than the slot's length, in a format other than "HEX"
// and "LNI", is cut after a "Fehler" box naming label, value and length. A kind other than
// KTX, KWB, FKL ends the run through TerminateRun; a Length that is no whole number of 0
// or more ends it through ErrorEnd naming the file, slot and label.
void WriteSlotBlock(Session& session, ConservationFile& file, int index, ConservationPass pass);

// Writes the identification block of slot `index` (1..3) for a variant file. With a hex
// name ("o.hex", "g.hex", "a.hex"; `withHexName`) slot 2 carries HexBaseName + hexName and
// slot 3 "X" + characters 2 to 4 of its identification value; otherwise, and always for
// slot 1, the identification value indexed by SlotNo. The value is padded with blanks to
// the slot's length, or cut to it when longer; the format is passed as configured. A
// SlotNo outside 0..20 or no number, a Length that is no whole number and an undefined
// slot (no label) end the run through ErrorEnd naming the file and the slot; an unknown
// kind through TerminateRun.
void WriteIdentificationBlock(Session& session, ConservationFile& file, int index, bool withHexName,
                              const std::string& hexName);

}  // namespace quenda
