#include "text/regional_number.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace quenda {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

std::size_t SkipDigits(std::string_view s, std::size_t pos) {
  while (pos < s.size() && IsDigit(s[pos])) ++pos;
  return pos;
}

std::string_view TrimBlanks(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

// Appends the digits of the integer part from `pos` to `out` and returns the position after
// them. A grouping separator `group` (none when empty) is passed over after a digit.
std::size_t IntegerDigits(std::string_view s, std::size_t pos, std::string_view group,
                          std::string& out) {
  for (;;) {
    const std::size_t end = SkipDigits(s, pos);
    out.append(s.substr(pos, end - pos));
    const bool afterDigit = end > 0 && IsDigit(s[end - 1]);
    if (group.empty() || !afterDigit || s.substr(end, group.size()) != group) return end;
    pos = end + group.size();
  }
}

// The number rewritten with "." as decimal point, or empty when `s` is no number.
std::string CanonicalNumber(std::string_view s, std::string_view sep, std::string_view group) {
  std::string out;
  std::size_t pos = 0;
  if (pos < s.size() && (s[pos] == '+' || s[pos] == '-')) {
    if (s[pos] == '-') out += '-';
    ++pos;
  }
  const std::size_t sign = out.size();
  pos = IntegerDigits(s, pos, group, out);
  bool digits = out.size() > sign;
  std::size_t end = pos;
  if (s.substr(pos, sep.size()) == sep) {
    pos += sep.size();
    end = SkipDigits(s, pos);
    digits = digits || end > pos;
    out.append(".").append(s.substr(pos, end - pos));
    pos = end;
  }
  if (!digits) return {};
  if (pos < s.size() && (s[pos] == 'E' || s[pos] == 'e')) {
    std::size_t exp = pos + 1;
    if (exp < s.size() && (s[exp] == '+' || s[exp] == '-')) ++exp;
    end = SkipDigits(s, exp);
    if (end == exp) return {};
    out.append("e").append(s.substr(pos + 1, end - pos - 1));
    pos = end;
  }
  return pos == s.size() ? out : std::string();
}

// The grouping separator that goes with a decimal separator: "." with ",", "," with ".".
std::string_view GroupingFor(std::string_view decimalSeparator) {
  if (decimalSeparator == ",") return ".";
  if (decimalSeparator == ".") return ",";
  return {};
}

std::optional<double> ParseCanonical(const std::string& canonical) {
  if (canonical.empty()) return std::nullopt;
  double value = 0;
  const char* first = canonical.data();
  const char* last = first + canonical.size();
  const auto [end, ec] = std::from_chars(first, last, value);
  if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ParsePlainNumber(std::string_view text, std::string_view decimalSeparator) {
  if (decimalSeparator.empty()) decimalSeparator = ".";
  return ParseCanonical(CanonicalNumber(TrimBlanks(text), decimalSeparator, {}));
}

std::optional<double> ParseRegionalNumber(std::string_view text,
                                          std::string_view decimalSeparator) {
  if (decimalSeparator.empty()) decimalSeparator = ".";
  return ParseCanonical(
      CanonicalNumber(TrimBlanks(text), decimalSeparator, GroupingFor(decimalSeparator)));
}

std::string FormatRegionalNumber(double value, std::string_view decimalSeparator) {
  if (value == 0) return "0";  // also for -0
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.15G", value);
  std::string out;
  for (const char* p = buffer; *p != '\0'; ++p) {
    if (*p == '.') {
      out.append(decimalSeparator.empty() ? std::string_view(".") : decimalSeparator);
    } else {
      out += *p;
    }
  }
  return out;
}

std::string FormatNumber000(std::string_view text, std::string_view decimalSeparator) {
  const std::optional<double> value = ParseRegionalNumber(text, decimalSeparator);
  if (!value) return std::string(text);
  const double whole = std::round(*value);  // half away from zero
  char buffer[400];
  std::snprintf(buffer, sizeof buffer, "%.0f", std::fabs(whole));
  std::string digits = buffer;
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  return (whole < 0 ? "-" : "") + digits;
}

}  // namespace quenda
