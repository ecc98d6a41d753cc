#include "app/run_summary.h"

#include <algorithm>

#include "session/session.h"
#include "text/cp1252.h"

namespace quenda {
namespace {

std::vector<ParameterSummary> ParametersOf(const ParamTable& params, int rowCount) {
  std::vector<ParameterSummary> rows;
  const int count = std::clamp(rowCount, 0, ParamTable::kRows);
  for (int row = 0; row < count; ++row) {
    rows.push_back({row, params.At(row, ParamTable::kName), params.At(row, ParamTable::kRule),
                    params.At(row, ParamTable::kValue), params.At(row, ParamTable::kDescription)});
  }
  return rows;
}

std::vector<SlotSummary> SlotsOf(const SpecTable& spec) {
  std::vector<SlotSummary> slots;
  const int count = std::clamp<int>(spec.SpecCount, 0, SpecTable::kSlots - 1);
  for (int index = 1; index <= count; ++index) {
    const SpecSlot& s = spec.At(index);
    slots.push_back({index, s.Label, s.Kind, s.Format, s.Length, s.Dummy, s.Value});
  }
  return slots;
}

}  // namespace

RunSummary BuildRunSummary(const Session& session) {
  // While the intake runs (or after it ended the run), the rows it has stored so far.
  const int rows = session.state.izeile > 0 ? session.state.izeile : session.params.RowCounter;
  return {ParametersOf(session.params, rows), SlotsOf(session.spec)};
}

std::string ShownValue(const std::string& value) { return ">" + value + "<"; }

SummaryTable ParameterTable(const RunSummary& summary) {
  SummaryTable table{{"Zeile", "Name", "Wert", "Beschreibung", "Regel"}, {}};
  for (const ParameterSummary& p : summary.parameters) {
    table.rows.push_back(
        {std::to_string(p.row), p.name, ShownValue(p.value), p.description, p.rule});
  }
  return table;
}

SummaryTable SlotTable(const RunSummary& summary) {
  SummaryTable table{{"Slot", "Label", "Typ", "Format", "Länge"_cp, "Dummy", "Wert"}, {}};
  for (const SlotSummary& s : summary.specSlots) {
    table.rows.push_back({std::to_string(s.slot), s.label, s.kind, s.format, s.length,
                          ShownValue(s.dummy), ShownValue(s.value)});
  }
  return table;
}

}  // namespace quenda
