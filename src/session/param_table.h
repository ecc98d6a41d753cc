// The run-wide parameter table: 301 rows of 101 texts. Row i holds the (i+1)-th
// parameter that the intake selected; column 0 is its name, column 13 its value.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quenda {

class ParamTable {
 public:
  static constexpr int kRows = 301;
  static constexpr int kColumns = 101;

  // Column numbers of the stored items.
  enum Column : int {
    kName = 0,
    kDescription = 1,
    kQuenda = 2,
    kCnt = 3,
    kLabel = 4,
    kArrayNr = 5,
    kFormat = 6,
    kDummy = 7,
    kNameDab = 8,
    kRule = 9,
    kRequiredForCnt = 10,
    kRequiredForQuenda = 11,
    kXmlOptional = 12,
    kValue = 13,
  };

  // The column number of each stored item, in the order of the Column enum (names, then
  // the value). SetParamColumns (parameter_intake.h) sets them to the enum's numbers.
  std::array<std::int16_t, 14> columns = {
      kName,        kDescription, kQuenda,  kCnt,  kLabel,          kArrayNr,
      kFormat,      kDummy,       kNameDab, kRule, kRequiredForCnt, kRequiredForQuenda,
      kXmlOptional, kValue};

  // Rows stored by the running (or last) intake; rule functions look parameters up in
  // rows 0 to RowCounter.
  int RowCounter = 0;

  // Where the rows came from: the customer table (a Windows path text) and each row's
  // line in it, the header being line 1.
  std::string SourceTable;
  std::array<int, kRows> SourceLines{};

  ParamTable() : cells_(static_cast<std::size_t>(kRows) * kColumns) {}

  // Throws Error 9 (subscript out of range) outside 0..300 / 0..100.
  const std::string& At(int row, int column) const;
  std::string& At(int row, int column);

  // The value (column 13) of the first row 0..rowCount whose name (column 0) equals
  // `name` exactly; empty when none does.
  std::string FindParameterValue(int rowCount, const std::string& name) const;

 private:
  std::vector<std::string> cells_;
};

}  // namespace quenda
