#include "text/line_diff.h"

#include <gtest/gtest.h>

namespace quenda {
namespace {

using Lines = std::vector<std::string>;

TEST(UnifiedDiff, HunksShowTheChangedLinesWithTheirContext) {
  const struct {
    Lines before, after;
    Lines diff;
  } cases[] = {
      {{"a", "b"}, {"a", "b"}, {}},
      {{}, {"x", "y"}, {"@@ -0,0 +1,2 @@", "+x", "+y"}},
      {{"x"}, {}, {"@@ -1,1 +0,0 @@", "-x"}},
      {{"a", "b", "c"}, {"a", "B", "c"}, {"@@ -1,3 +1,3 @@", " a", "-b", "+B", " c"}},
      {{"1", "2", "3", "4", "5", "6"},
       {"1", "2", "3", "4", "5", "6", "7"},
       {"@@ -4,3 +4,4 @@", " 4", " 5", " 6", "+7"}},
      // Changes further apart than twice the context are hunks of their own.
      {{"a", "1", "2", "3", "4", "5", "6", "7", "z"},
       {"A", "1", "2", "3", "4", "5", "6", "7", "Z"},
       {"@@ -1,4 +1,4 @@", "-a", "+A", " 1", " 2", " 3", "@@ -6,4 +6,4 @@", " 5", " 6", " 7", "-z",
        "+Z"}},
      // As far apart as twice the context: one hunk.
      {{"a", "1", "2", "3", "4", "5", "6", "z"},
       {"A", "1", "2", "3", "4", "5", "6", "Z"},
       {"@@ -1,8 +1,8 @@", "-a", "+A", " 1", " 2", " 3", " 4", " 5", " 6", "-z", "+Z"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnifiedDiff(c.before, c.after), c.diff)
        << testing::PrintToString(c.before) << " -> " << testing::PrintToString(c.after);
  }
}

TEST(UnifiedDiff, TextsPastTheLimitAreShownAsAllRemovedAndAllAdded) {
  const Lines before = {"a", "b", "c"};
  const Lines after = {"a", "b", "C"};
  EXPECT_EQ(UnifiedDiff(before, after, 3, 3), (Lines{"@@ -1,3 +1,3 @@", " a", " b", "-c", "+C"}));
  EXPECT_EQ(UnifiedDiff(before, after, 3, 2),
            (Lines{"@@ -1,3 +1,3 @@", "-a", "-b", "-c", "+a", "+b", "+C"}));
}

}  // namespace
}  // namespace quenda
