#include "rules/text_rules.h"

#include <cmath>
#include <optional>

#include "base/error.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"

namespace quenda {
namespace {

Error ArgumentError(std::string_view function, std::string_view argument, const std::string& why) {
  return PlatformError(kErrInvalidArgument, std::string(function) + " mit dem Argument >" +
                                                std::string(argument) + "<: " + why);
}

std::string TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return std::string(s);
}

double DivNumber(std::string_view part, std::string_view argument, std::string_view sep) {
  const std::optional<double> value = ParseRegionalNumber(part, sep);
  if (!value) {
    throw PlatformError(kErrTypeMismatch, "DIV mit dem Argument >" + std::string(argument) +
                                              "<: >" + std::string(part) + "< ist keine Zahl");
  }
  return *value;
}

}  // namespace

std::string RuleAdds(std::string_view argument) {
  std::string value;
  std::size_t start = 0;
  for (;;) {
    const std::size_t plus = argument.find('+', start);
    const std::string_view part = argument.substr(start, plus - start);
    if (part.find('\'') != std::string_view::npos) {
      value += GetToken(part, 1, "'");
    } else {
      value += TrimBlanks(part);
    }
    if (plus == std::string_view::npos) return value;
    start = plus + 1;
  }
}

std::string RuleDiv(std::string_view argument, std::string_view decimalSeparator) {
  const std::string dividendText = GetToken(argument, 0, "/");
  if (dividendText.empty()) return {};
  const std::string divisorText = GetToken(argument, 1, "/");
  const double dividend = DivNumber(dividendText, argument, decimalSeparator);
  const double divisor = DivNumber(divisorText, argument, decimalSeparator);
  if (divisor == 0) {
    throw PlatformError(dividend == 0 ? kErrOverflow : kErrDivisionByZero,
                        "DIV mit dem Argument >" + std::string(argument) + "<");
  }
  const double quotient = dividend / divisor;
  if (!std::isfinite(quotient)) {
    throw PlatformError(kErrOverflow, "DIV mit dem Argument >" + std::string(argument) + "<");
  }
  return FormatRegionalNumber(quotient, decimalSeparator);
}

std::string RuleCext(std::string_view argument) {
  if (argument.size() < 3) throw ArgumentError("CEXT", argument, "kürzer als 3 Zeichen"_cp);
  if (IsBlank(argument)) return {};
  if (argument.size() < 7) throw ArgumentError("CEXT", argument, "kürzer als 7 Zeichen"_cp);
  return std::string(argument.substr(0, argument.size() - 7)) +
         std::string(argument.substr(argument.size() - 3));
}

std::string RuleNext(std::string_view argument) {
  const std::size_t dot = argument.rfind('.');
  return std::string(dot == std::string_view::npos ? argument : argument.substr(0, dot));
}

std::string RuleStrMinus1(std::string_view argument) {
  if (argument.empty()) throw ArgumentError("STR-1", argument, "leer");
  return std::string(argument.substr(0, argument.size() - 1));
}

std::string RuleLastC(std::string_view argument) {
  if (argument.empty()) throw ArgumentError("LASTC", argument, "leer");
  return std::string(argument.substr(argument.size() - 1));
}

std::string RuleLast2C(std::string_view argument) {
  if (argument.size() < 2) throw ArgumentError("LAST2C", argument, "kürzer als 2 Zeichen"_cp);
  return std::string(argument.substr(argument.size() - 2));
}

std::string RulePath(std::string_view argument) {
  if (IsBlank(argument)) return {};
  std::string path(argument);
  std::string file;
  SplitPathFile(path, file);
  path.pop_back();  // the last backslash
  return path;
}

std::string RuleFile(std::string_view argument) {
  if (IsBlank(argument)) return {};
  std::string path(argument);
  std::string file;
  SplitPathFile(path, file);
  return file;
}

std::string RuleKv1(std::string_view argument) {
  std::string value(argument);
  for (char& c : value) {
    if (c == '*') c = ' ';
  }
  return value;
}

void SplitPathFile(std::string& path, std::string& file) {
  const std::size_t slash = path.rfind('\\');
  if (slash == std::string::npos) {
    throw PlatformError(kErrInvalidArgument, "kein \"\\\" im Pfad >" + path + "<");
  }
  file = path.substr(slash + 1);
  path.erase(slash + 1);
}

std::string UnquoteValue(const std::string& value) {
  if (value.empty() || value.front() != '"' || value.back() != '"') return value;
  return GetToken(value, 1, "\"");
}

}  // namespace quenda
