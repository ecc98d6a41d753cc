#include "config/cls_lib.h"

#include "base/error.h"
#include "platform/files.h"

namespace quenda {
namespace {

constexpr const char* kSource = "GetTextStreamAsRecordSet";

std::vector<std::string> ColumnNames(const std::string& firstLine, const std::string& delimiter,
                                     bool header) {
  std::vector<std::string> names = SplitDelimited(firstLine, delimiter);
  if (!header) {
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = "FIELD_" + std::to_string(i + 1);
  }
  return names;
}

RecordSet BuildRecordSet(const std::vector<std::string>& lines, const std::string& delimiter,
                         bool header) {
  RecordSet records(ColumnNames(lines.front(), delimiter, header));
  for (std::size_t i = header ? 1 : 0; i < lines.size(); ++i) {
    try {
      records.AddRecord(SplitDelimited(lines[i], delimiter));
    } catch (const Error& e) {
      throw Error(e.Number(), "Zeile " + std::to_string(i + 1) + ": " + e.Description());
    }
  }
  return records;
}

}  // namespace

std::vector<std::string> SplitDelimited(const std::string& line, const std::string& delimiter) {
  std::vector<std::string> fields;
  if (line.empty()) return fields;
  if (delimiter.empty()) return {line};
  std::size_t start = 0;
  for (;;) {
    const std::size_t found = line.find(delimiter, start);
    if (found == std::string::npos) break;
    fields.push_back(line.substr(start, found - start));
    start = found + delimiter.size();
  }
  fields.push_back(line.substr(start));
  return fields;
}

RecordSet clsLib::GetTextStreamAsRecordSet(const std::string& sPfadDateiName,
                                           const std::string& sDelimiter, bool bHeader) const {
  if (!files_.FileExists(sPfadDateiName)) {
    throw Error(kErrComposed, "File not found : " + sPfadDateiName, kSource);
  }
  std::vector<std::string> lines;
  try {
    lines = files_.ReadLines(sPfadDateiName);
    if (!lines.empty()) return BuildRecordSet(lines, sDelimiter, bHeader);
  } catch (const Error& e) {
    throw Error(kErrComposed,
                std::string(kSource) + " : " + std::to_string(e.Number()) + " " + e.Description() +
                    " (" + sPfadDateiName + ")",
                kSource);
  }
  throw Error(kErrComposed, "File empty : " + sPfadDateiName, kSource);
}

}  // namespace quenda
