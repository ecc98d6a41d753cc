// The check of the conservation slots that the marked rows of a customer table define:
// Array_Nr as the slot table reads it, slots used twice or left out, and the value
// expressions ("ERG=") of their dummies.
#pragma once

#include "check/marked_row.h"

namespace quenda {

class TableReport;

// Reports an Array_Nr that is no number or lies outside 0..20 (error), a slot that a later
// row defines again (the later wins: an error for an identification slot 1..3 or another
// label, a warning otherwise), the slots between 1 and the highest that
// no row defines (warning, on the line of the highest), and "ERG=" expressions that cannot
// be evaluated (error) or name a slot no row defines (warning).
void CheckSlots(const MarkedRows& rows, TableReport& report);

}  // namespace quenda
