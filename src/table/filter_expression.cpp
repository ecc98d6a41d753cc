#include "table/filter_expression.h"

#include <optional>

#include "base/error.h"
#include "text/cp1252.h"
#include "text/regional_number.h"

namespace quenda {
namespace {

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EndsBareName(char c) {
  return IsSpace(c) || c == '=' || c == '<' || c == '>' || c == '\'' || c == '[' || c == ']';
}

class FilterParser {
 public:
  explicit FilterParser(std::string_view expression) : s_(expression) {}

  std::vector<FilterClause> Parse() {
    std::vector<FilterClause> clauses;
    SkipSpaces();
    if (AtEnd()) return clauses;
    clauses.push_back(Clause());
    while (!AtEnd()) {
      ExpectAnd();
      clauses.push_back(Clause());
    }
    return clauses;
  }

 private:
  bool AtEnd() const { return pos_ >= s_.size(); }

  void SkipSpaces() {
    while (!AtEnd() && IsSpace(s_[pos_])) ++pos_;
  }

  [[noreturn]] void Fail(const std::string& what) const {
    throw Error(kErrBadFilter, "Der Filterausdruck >" + std::string(s_) + "< ist an Stelle " +
                                   std::to_string(pos_ + 1) + " nicht lesbar: " + what);
  }

  FilterClause Clause() {
    FilterClause clause;
    clause.column = ColumnName();
    SkipSpaces();
    clause.notEqual = Operator();
    SkipSpaces();
    Literal(clause);
    SkipSpaces();
    return clause;
  }

  std::string ColumnName() {
    if (AtEnd()) Fail("Spaltenname erwartet");
    if (s_[pos_] == '[') {
      const std::size_t close = s_.find(']', pos_ + 1);
      if (close == std::string_view::npos) Fail("\"]\" fehlt");
      std::string name(s_.substr(pos_ + 1, close - pos_ - 1));
      pos_ = close + 1;
      return name;
    }
    const std::size_t start = pos_;
    while (!AtEnd() && !EndsBareName(s_[pos_])) ++pos_;
    if (pos_ == start) Fail("Spaltenname erwartet");
    return std::string(s_.substr(start, pos_ - start));
  }

  // True for "<>", false for "=".
  bool Operator() {
    if (!AtEnd() && s_[pos_] == '=') {
      ++pos_;
      return false;
    }
    if (s_.substr(pos_, 2) == "<>") {
      pos_ += 2;
      return true;
    }
    Fail("\"=\" oder \"<>\" erwartet");
  }

  void Literal(FilterClause& clause) {
    if (AtEnd()) Fail("Wert erwartet");
    if (s_[pos_] == '\'') {
      clause.text = TextLiteral();
      return;
    }
    const std::size_t start = pos_;
    while (!AtEnd() && !IsSpace(s_[pos_])) ++pos_;
    const std::optional<double> number = ParsePlainNumber(s_.substr(start, pos_ - start), ".");
    if (!number) {
      pos_ = start;
      Fail("Text in Apostrophen oder Zahl erwartet");
    }
    clause.numeric = true;
    clause.number = *number;
  }

  std::string TextLiteral() {
    std::string text;
    ++pos_;  // opening apostrophe
    for (;;) {
      if (AtEnd()) Fail("schließendes Apostroph fehlt"_cp);
      const char c = s_[pos_++];
      if (c != '\'') {
        text += c;
      } else if (!AtEnd() && s_[pos_] == '\'') {
        text += '\'';
        ++pos_;
      } else {
        return text;
      }
    }
  }

  void ExpectAnd() {
    const std::size_t start = pos_;
    if (!EqualsIgnoreCase(s_.substr(pos_, 3), "AND")) Fail("\"And\" erwartet");
    pos_ += 3;
    if (AtEnd() || !IsSpace(s_[pos_])) {
      pos_ = start;
      Fail("\"And\" erwartet");
    }
    SkipSpaces();
  }

  std::string_view s_;
  std::size_t pos_ = 0;
};

}  // namespace

std::vector<FilterClause> ParseFilterExpression(std::string_view expression) {
  return FilterParser(expression).Parse();
}

std::string QuoteFilterLiteral(std::string_view text) {
  std::string out = "'";
  for (char c : text) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out + "'";
}

}  // namespace quenda
