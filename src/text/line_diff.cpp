#include "text/line_diff.h"

#include <algorithm>

namespace quenda {
namespace {

struct Edit {
  char op;  // ' ', '-', '+'
  std::size_t a;
  std::size_t b;  // the line numbers (0-based) in before and after
};

// The edit script of the longest common subsequence, kept lines and all.
std::vector<Edit> Edits(const std::vector<std::string>& x, const std::vector<std::string>& y,
                        std::size_t limit) {
  std::vector<Edit> edits;
  if (x.size() > limit || y.size() > limit) {
    for (std::size_t i = 0; i < x.size(); ++i) edits.push_back({'-', i, 0});
    for (std::size_t j = 0; j < y.size(); ++j) edits.push_back({'+', x.size(), j});
    return edits;
  }
  const std::size_t n = x.size();
  const std::size_t m = y.size();
  std::vector<std::vector<std::size_t>> lcs(n + 1, std::vector<std::size_t>(m + 1, 0));
  for (std::size_t i = n; i-- > 0;) {
    for (std::size_t j = m; j-- > 0;) {
      lcs[i][j] = x[i] == y[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
  }
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && x[i] == y[j]) {
      edits.push_back({' ', i++, j++});
    } else if (i < n && (j == m || lcs[i + 1][j] >= lcs[i][j + 1])) {
      edits.push_back({'-', i++, j});
    } else {
      edits.push_back({'+', i, j++});
    }
  }
  return edits;
}

std::string Range(std::size_t start, std::size_t count) {
  // An empty range names the line before it, as unified diffs do.
  return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

}  // namespace

std::vector<std::string> UnifiedDiff(const std::vector<std::string>& before,
                                     const std::vector<std::string>& after, std::size_t context,
                                     std::size_t limit) {
  const std::vector<Edit> edits = Edits(before, after, limit);
  std::vector<std::string> out;
  std::size_t k = 0;
  while (k < edits.size()) {
    if (edits[k].op == ' ') {
      ++k;
      continue;
    }
    // A hunk: from `context` kept lines before the change to `context` after the last change
    // that is no further than 2 * context kept lines from the one before it.
    const std::size_t first = k >= context ? k - context : 0;
    std::size_t end = k;
    std::size_t kept = 0;
    for (std::size_t e = k; e < edits.size() && kept <= 2 * context; ++e) {
      if (edits[e].op == ' ') {
        ++kept;
      } else {
        kept = 0;
        end = e + 1;
      }
    }
    const std::size_t last = std::min(edits.size(), end + context);
    std::size_t aCount = 0;
    std::size_t bCount = 0;
    std::vector<std::string> lines;
    for (std::size_t e = first; e < last; ++e) {
      const Edit& edit = edits[e];
      if (edit.op != '+') ++aCount;
      if (edit.op != '-') ++bCount;
      lines.push_back(edit.op + (edit.op == '+' ? after[edit.b] : before[edit.a]));
    }
    out.push_back("@@ -" + Range(edits[first].a, aCount) + " +" + Range(edits[first].b, bCount) +
                  " @@");
    out.insert(out.end(), lines.begin(), lines.end());
    k = last;
  }
  return out;
}

}  // namespace quenda
