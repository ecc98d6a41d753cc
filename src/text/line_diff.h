// The difference of two texts as lines of a unified diff, for a person to read.
#pragma once

#include <string>
#include <vector>

namespace quenda {

// The hunks that turn `before` into `after`: "@@ -a,b +c,d @@", then " " for a line both
// keep, "-" for one removed, "+" for one added, with `context` kept lines around each
// change. Empty when the lines are equal. Texts longer than `limit` lines each are shown
// as all removed and all added, so that the work stays bounded.
std::vector<std::string> UnifiedDiff(const std::vector<std::string>& before,
                                     const std::vector<std::string>& after, std::size_t context = 3,
                                     std::size_t limit = 4000);

}  // namespace quenda
