#include "table/cls_lib.h"

#include "base/error.h"
#include "platform/files.h"
#include "platform/input_file.h"

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
                         bool header, std::vector<TextTableProblem>& problems) {
  RecordSet records(ColumnNames(lines.front(), delimiter, header));
  for (std::size_t i = header ? 1 : 0; i < lines.size(); ++i) {
    const std::vector<std::string> fields = SplitDelimited(lines[i], delimiter);
    const int line = static_cast<int>(i + 1);
    if (std::optional<Error> problem = records.RecordProblem(fields)) {
      problems.push_back({line, *problem});
    } else {
      records.AddRecord(fields, line);
    }
  }
  return records;
}

// The error GetTextStreamAsRecordSet raises for a fault of `path`.
Error Raised(const std::string& path, const Error& e) {
  return Error(kErrComposed,
               std::string(kSource) + " : " + std::to_string(e.Number()) + " " + e.Description() +
                   " (" + path + ")",
               kSource);
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

std::optional<RecordSet> clsLib::ReadTextTable(const std::string& sPfadDateiName,
                                               const std::string& sDelimiter, bool bHeader,
                                               std::vector<TextTableProblem>& problems) const {
  if (IsNonRegularFile(files_, sPfadDateiName)) {
    throw Raised(sPfadDateiName, NotRegularFileError(sPfadDateiName));
  }
  if (!files_.FileExists(sPfadDateiName)) {
    problems.push_back({1, Error(kErrComposed, "File not found : " + sPfadDateiName, kSource)});
    return std::nullopt;
  }
  std::vector<std::string> lines;
  try {
    lines = files_.ReadLines(sPfadDateiName);
  } catch (const Error& e) {
    throw Raised(sPfadDateiName, e);
  }
  return TextTableFromLines(lines, sPfadDateiName, sDelimiter, bHeader, problems);
}

std::optional<RecordSet> TextTableFromLines(const std::vector<std::string>& lines,
                                            const std::string& path, const std::string& delimiter,
                                            bool header, std::vector<TextTableProblem>& problems) {
  if (lines.empty()) {
    problems.push_back({1, Error(kErrComposed, "File empty : " + path, kSource)});
    return std::nullopt;
  }
  return BuildRecordSet(lines, delimiter, header, problems);
}

RecordSet clsLib::GetTextStreamAsRecordSet(const std::string& sPfadDateiName,
                                           const std::string& sDelimiter, bool bHeader) const {
  std::vector<TextTableProblem> problems;
  std::optional<RecordSet> records = ReadTextTable(sPfadDateiName, sDelimiter, bHeader, problems);
  if (problems.empty()) return std::move(*records);
  const TextTableProblem& first = problems.front();
  if (!records) throw first.error;  // missing or empty
  throw Raised(sPfadDateiName, Error(first.error.Number(), "Zeile " + std::to_string(first.line) +
                                                               ": " + first.error.Description()));
}

}  // namespace quenda
