// The object records of all conserved labels, found in one pass over the object store
// text however many labels there are.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenda {

// Element i is what FindObjectRecord(storeText, labels[i]) gives: the record of the first
// "=Kgs:Name=" + label + ":" standing in a line that begins with ":OId"; without one the
// text of the last non-record line so found; "" when the key does not occur or no ";"
// follows it. One scan over the occurrences of "=Kgs:Name=" serves every label; it stops
// once every label is settled. A label holding ":" cannot be told from the text behind
// it in that scan and is searched on its own.
std::vector<std::string> FindObjectRecords(std::string_view storeText,
                                           const std::vector<std::string>& labels);

}  // namespace quenda
