// clsLib: turns a delimited text file (the configuration tables) into a record set.
// A caller creates one clsLib on first use and keeps it.
#pragma once

#include <string>

#include "config/record_set.h"

namespace quenda {

class Files;

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

 private:
  const Files& files_;
};

// `line` cut at every `delimiter`: no field for an empty line, the whole line for an
// empty delimiter.
std::vector<std::string> SplitDelimited(const std::string& line, const std::string& delimiter);

}  // namespace quenda
