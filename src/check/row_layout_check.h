// The check of the slot columns of each marked row as a row: Label and Array_Nr belong
// together, Format is one the conservation writer knows, and no value stands in the
// column beside its own (a row whose fields slid by one after a typed or a lost ";").
#pragma once

#include "check/marked_row.h"

namespace quenda {

class TableReport;

// Reports, as warnings on each row's line: a Label without Array_Nr or an Array_Nr without
// Label; for rows with either, a Format other than HEX, LNI, STR or empty, and a Format,
// Dummy or Name_DAB that holds what belongs to a neighbouring column (a slot number, a
// format word).
void CheckRowLayout(const MarkedRows& rows, TableReport& report);

// True for a format the conservation writer knows: HEX, LNI, STR in any letter case.
bool IsFormatWord(const std::string& text);
// True for a slot number as Array_Nr holds it: 1 to 20, without leading zero.
bool LooksLikeSlotNumber(const std::string& text);

}  // namespace quenda
