// clsLib: turns a delimited text file (the configuration tables) into a record set.
// A caller creates one clsLib on first use and keeps it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "base/error.h"
#include "table/record_set.h"

namespace quenda {

class Files;

// A fault of a delimited text file: the 1-based line of the file where it stands (1 for
// a missing or empty file) and the error. For a line that cannot become a record this is
// the record set's own error; otherwise the error GetTextStreamAsRecordSet raises.
struct TextTableProblem {
  int line = 1;
  Error error;
};

class clsLib {
 public:
  explicit clsLib(const Files& files) : files_(files) {}

  // The file `sPfadDateiName` as a record set: one column per field of the first line
  // (named by that field, untrimmed, when `bHeader`; otherwise "FIELD_1", "FIELD_2", ...
  // and the first line is a record too), one record per further line, split at every
  // `sDelimiter` (an empty delimiter keeps the whole line in the first column; an empty
  // line gives a record with all columns empty). The last record added is current.
  // Throws Error 60000, source "GetTextStreamAsRecordSet", with "File not found : " +
  // path, "File empty : " + path, or "GetTextStreamAsRecordSet : " + number + " " +
  // description for any other failure (a line with more fields than the first line, a
  // read error); nothing is returned then.
  RecordSet GetTextStreamAsRecordSet(const std::string& sPfadDateiName,
                                     const std::string& sDelimiter = {},
                                     bool bHeader = false) const;

  // Reads as GetTextStreamAsRecordSet does but reports the faults instead of raising:
  // nullopt and one problem for a missing or empty file; every line that cannot become a
  // record is reported and left out, the others are read. Each record carries its line.
  // A read error, and a path that is a folder, FIFO or device, still raise (Error 60000 as
  // above).
  std::optional<RecordSet> ReadTextTable(const std::string& sPfadDateiName,
                                         const std::string& sDelimiter, bool bHeader,
                                         std::vector<TextTableProblem>& problems) const;

 private:
  const Files& files_;
};

// The lines of the file `path` as ReadTextTable reads them, from memory.
std::optional<RecordSet> TextTableFromLines(const std::vector<std::string>& lines,
                                            const std::string& path, const std::string& delimiter,
                                            bool header, std::vector<TextTableProblem>& problems);

// `line` cut at every `delimiter`: no field for an empty line, the whole line for an
// empty delimiter.
std::vector<std::string> SplitDelimited(const std::string& line, const std::string& delimiter);

}  // namespace quenda
