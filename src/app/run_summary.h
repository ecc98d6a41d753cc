// What the run has computed so far, for a front end to show: the parameters of the
// intake and the conservation slots, taken from the session. Front ends only display it.
#pragma once

#include <string>
#include <vector>

namespace quenda {

class Session;

struct ParameterSummary {
  int row = 0;
  std::string name;
  std::string rule;
  std::string value;
  std::string description;  // the customer table's Description
};

struct SlotSummary {
  int slot = 0;
  std::string label;
  std::string kind;
  std::string format;
  std::string length;
  std::string dummy;
  std::string value;
};

struct RunSummary {
  std::vector<ParameterSummary> parameters;  // rows 0 to izeile - 1 (during the intake: stored)
  std::vector<SlotSummary> specSlots;        // slots 1 to SpecCount
};

// A table as a front end shows it: column headers and the cells of each row (CP1252).
struct SummaryTable {
  std::vector<std::string> headers;
  std::vector<std::vector<std::string>> rows;
};

// The summary of `session` as it stands; empty lists before the intake has run.
RunSummary BuildRunSummary(const Session& session);

// `value` between ">" and "<", so that leading and trailing blanks show.
std::string ShownValue(const std::string& value);

// The tables "Parameter" (Zeile, Name, Wert, Beschreibung, Regel) and "Konservierung" (Slot, Label,
// Typ, Format, Länge, Dummy, Wert); values and dummies are shown with ShownValue.
SummaryTable ParameterTable(const RunSummary& summary);
SummaryTable SlotTable(const RunSummary& summary);

}  // namespace quenda
