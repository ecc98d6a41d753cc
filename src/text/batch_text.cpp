#include "text/batch_text.h"

#include <algorithm>

#include "text/cp1252.h"
#include "text/line_text.h"

namespace quenda {
namespace {

std::string FaultText(BatchFault fault) {
  switch (fault) {
    case BatchFault::kQuote:
      return "enthält ein Anführungszeichen"_cp;
    case BatchFault::kLineBreak:
      return "enthält einen Zeilenumbruch"_cp;
    case BatchFault::kControl:
      return "enthält ein Steuerzeichen"_cp;
    case BatchFault::kTooLong:
      return "ist länger, als eine Zeile sein darf ("_cp + std::to_string(kMaxBatchLine) +
             " Zeichen)";
    case BatchFault::kCommand:
      return "enthält ein Zeichen, das in einer Befehlszeile wirkt (& | < > ^ ( ) % ! oder "_cp
             "ein Trennzeichen)";
    case BatchFault::kCodePage:
      return "enthält ein Zeichen, das die Codepage der Eingabeaufforderung nicht kennt"_cp;
    case BatchFault::kHelp:
      return "enthält \"/?\", bei dem SET seine Hilfe zeigt, statt die Variable zu setzen"_cp;
    case BatchFault::kNone:
      break;
  }
  return {};
}

}  // namespace

BatchFault FindBatchFault(std::string_view value, std::size_t lineRest) {
  for (char c : value) {
    const auto code = static_cast<unsigned char>(c);
    if (c == '"') return BatchFault::kQuote;
    if (c == '\r' || c == '\n') return BatchFault::kLineBreak;
    if (code < 0x20 && c != '\t') return BatchFault::kControl;
  }
  const auto percents = static_cast<std::size_t>(std::count(value.begin(), value.end(), '%'));
  if (value.size() + percents + lineRest > kMaxBatchLine) return BatchFault::kTooLong;
  return BatchFault::kNone;
}

BatchFault FindSetValueFault(std::string_view value, std::size_t lineRest) {
  const BatchFault fault = FindBatchFault(value, lineRest);
  if (fault != BatchFault::kNone) return fault;
  return value.find("/?") != std::string_view::npos ? BatchFault::kHelp : BatchFault::kNone;
}

BatchFault FindCommandLineFault(std::string_view value, bool splitsWords) {
  const BatchFault fault = FindBatchFault(value);
  if (fault != BatchFault::kNone && fault != BatchFault::kTooLong) return fault;
  if (value.find_first_of("&|<>^()%!") != std::string_view::npos) return BatchFault::kCommand;
  if (splitsWords && value.find_first_of(" \t,;=") != std::string_view::npos) {
    return BatchFault::kCommand;
  }
  return fault;
}

bool NeedsBatchQuotes(std::string_view value) {
  return value.find_first_of("&|<>^()%") != std::string_view::npos;
}

std::string EscapeBatchPercent(std::string_view value) {
  std::string escaped;
  escaped.reserve(value.size());
  for (char c : value) {
    escaped += c;
    if (c == '%') escaped += '%';
  }
  return escaped;
}

std::string RefusedBatchValueText(const std::string& what, std::string_view value, BatchFault fault,
                                  const std::string& file) {
  return "Der Wert für "_cp + what + " " + FaultText(fault) + " und kann nicht in " + file +
         " geschrieben werden: >" + ShowCodesCut(value) + "<";
}

}  // namespace quenda
