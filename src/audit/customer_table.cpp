#include "audit/customer_table.h"

#include <vector>

#include "audit/release_source.h"

namespace quenda::audit {
namespace {

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t at = line.find(';', start);
    fields.push_back(line.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return fields;
    start = at + 1;
  }
}

}  // namespace

std::optional<TableRow> CustomerTableRow(const std::string& bytes, int line) {
  const std::vector<std::string> lines = SplitLines(bytes);
  if (line < 2 || static_cast<std::size_t>(line) > lines.size()) return std::nullopt;
  const std::vector<std::string> names = Fields(lines[0]);
  const std::vector<std::string> fields = Fields(lines[line - 1]);
  TableRow row;
  for (std::size_t k = 0; k < names.size(); ++k) {
    row[names[k]] = k < fields.size() ? fields[k] : std::string();
  }
  return row;
}

}  // namespace quenda::audit
