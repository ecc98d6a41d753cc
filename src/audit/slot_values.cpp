#include "audit/slot_values.h"

#include <cctype>

#include "text/cp1252.h"

namespace quenda::audit {
namespace {

std::size_t LengthOf(const std::string& length) {
  std::size_t n = 0;
  for (char c : length) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) break;
    n = n * 10 + static_cast<std::size_t>(c - '0');
    if (n > 100000) break;  // no object of a store is that long; keeps a bad report harmless
  }
  return n;
}

// The text between the first `open` and the first `close` after it; empty without them.
std::string Between(const std::string& text, char open, char close) {
  const std::size_t a = text.find(open);
  if (a == std::string::npos) return {};
  const std::size_t b = text.find(close, a + 1);
  return text.substr(a + 1, b == std::string::npos ? std::string::npos : b - a - 1);
}

bool IsNumber(const std::string& text) {
  if (text.empty() || text.size() > 6) return false;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c)) == 0) return false;
  }
  return true;
}

std::string Piece(const std::string& part, const std::vector<std::string>& values) {
  const std::string slot = Between(part.substr(0, part.find('[')), '(', '\0');
  const std::string range = Between(part.substr(0, part.find(']')), '[', '\0');
  if (!IsNumber(slot) || static_cast<std::size_t>(std::stoi(slot)) >= values.size()) return {};
  const std::string& source = values[static_cast<std::size_t>(std::stoi(slot))];
  if (range.find(',') == std::string::npos) {
    if (UpperCase(range) == "X") return source;
    return IsNumber(range) ? source.substr(0, std::stoul(range)) : std::string();
  }
  std::string piece;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = range.find(',', start);
    const std::string at = range.substr(start, comma == std::string::npos ? comma : comma - start);
    if (IsNumber(at) && std::stoul(at) >= 1 && std::stoul(at) <= source.size()) {
      piece += source[std::stoul(at) - 1];
    }
    if (comma == std::string::npos) return piece;
    start = comma + 1;
  }
}

bool IsExpression(const std::string& dummy) {
  return dummy != "-" && dummy.substr(0, dummy.find('=')) == "ERG";
}

}  // namespace

std::string PrepareSlotValue(const SlotSource& s, const std::string& value) {
  const std::size_t length = LengthOf(s.length);
  const std::string format = UpperCase(s.format);
  if (format == "HEX") return value;
  if (format == "LNI") {
    std::string coded;
    for (std::size_t k = 0; k < length; ++k)
      coded += k < value.size() ? std::string("0") + value[k] : "0";
    return coded;
  }
  std::string prepared = value.substr(0, length);
  if (s.kind != "FKL") prepared.append(length - prepared.size(), ' ');
  return prepared;
}

std::string EvaluateSlotExpression(const std::string& expression,
                                   const std::vector<std::string>& values) {
  std::string result;
  std::size_t start = 0;
  for (int k = 0; k <= 10; ++k) {
    const std::size_t plus = expression.find('+', start);
    const std::string part =
        expression.substr(start, plus == std::string::npos ? plus : plus - start);
    result += part.substr(0, part.find('(')) == "WERT" ? Piece(part, values) : part;
    if (plus == std::string::npos) break;
    start = plus + 1;
  }
  return result;
}

std::vector<std::string> ActualSlotValues(const std::vector<SlotSource>& slots) {
  std::vector<std::string> values(21);
  for (const SlotSource& s : slots) {
    if (s.slot >= 0 && s.slot <= 20) values[static_cast<std::size_t>(s.slot)] = s.raw;
  }
  for (int n = 1; n <= 20; ++n) {
    for (const SlotSource& s : slots) {
      if (s.slot != n) continue;
      // Without the object store (a run that conserves nothing) the slot keeps its value
      // as the parameter gave it.
      if (s.kind.empty() && s.length.empty()) continue;
      const std::string dummy = s.dummy;
      const std::size_t eq = dummy.find('=');
      const std::string value =
          IsExpression(dummy) ? EvaluateSlotExpression(
                                    dummy.substr(eq + 1, dummy.find('=', eq + 1) - eq - 1), values)
                              : values[static_cast<std::size_t>(n)];
      values[static_cast<std::size_t>(n)] = PrepareSlotValue(s, value);
    }
  }
  return values;
}

std::string DummySlotValue(const SlotSource& s, const std::string& actual) {
  const bool replaces = s.dummy != "-" && !IsExpression(s.dummy);
  return PrepareSlotValue(s, replaces ? s.dummy : actual);
}

}  // namespace quenda::audit
