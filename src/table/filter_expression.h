// Filter expressions of the record set, in the forms the configuration code writes:
//   Kunde = '007' And SG = 'ME7' And Expression <> ''
//   Index = 12
// Clauses are a column, "=" or "<>", and a text literal in apostrophes ('' stands for
// one apostrophe) or a number; they are joined by And in any letter case. A column name
// with blanks or other special characters is written in brackets: [Kunden Nr] = '1'.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quenda {

// Error numbers the record set raises, as the platform's record set numbers them.
constexpr int kErrBadFilter = 3001;        // expression cannot be read
constexpr int kErrNoCurrentRecord = 3021;  // at the end of the view, or empty view
constexpr int kErrItemNotFound = 3265;     // unknown column name or position
constexpr int kErrRecordSetClosed = 3704;  // the record set has been closed

struct FilterClause {
  std::string column;  // as written, brackets removed
  bool notEqual = false;
  bool numeric = false;
  std::string text;   // the literal, with '' undone (text clauses)
  double number = 0;  // the literal (numeric clauses)
};

// The clauses of `expression`; none for an empty or blank expression (no filter).
// Throws Error kErrBadFilter naming the expression and the position of the fault when
// the expression is not of the forms above.
std::vector<FilterClause> ParseFilterExpression(std::string_view expression);

// `text` as a literal for a filter expression: in apostrophes, each apostrophe doubled.
std::string QuoteFilterLiteral(std::string_view text);

}  // namespace quenda
