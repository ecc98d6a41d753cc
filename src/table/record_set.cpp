#include "table/record_set.h"

#include <optional>
#include <utility>

#include "base/error.h"
#include "text/cp1252.h"
#include "text/regional_number.h"

namespace quenda {
namespace {

std::string_view WithoutTrailingBlanks(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool ClauseHolds(const std::string& value, const FilterClause& clause) {
  bool equal = false;
  if (clause.numeric) {
    const std::optional<double> number = ParsePlainNumber(value, ".");
    equal = number && *number == clause.number;
  } else {
    equal = WithoutTrailingBlanks(value) == WithoutTrailingBlanks(clause.text);
  }
  return equal != clause.notEqual;
}

}  // namespace

RecordSet::RecordSet(std::vector<std::string> columnNames) : columns_(std::move(columnNames)) {}

std::optional<Error> RecordSet::RecordProblem(const std::vector<std::string>& fields) const {
  if (fields.size() > columns_.size()) {
    return Error(kErrItemNotFound, std::to_string(fields.size()) + " Felder, aber nur " +
                                       std::to_string(columns_.size()) + " Spalten");
  }
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (fields[i].size() > kColumnSize) {
      return PlatformError(kErrOverflow, "Feld " + columns_[i] + " ist länger als 255 Zeichen"_cp);
    }
  }
  return std::nullopt;
}

void RecordSet::AddRecord(const std::vector<std::string>& fields, int line) {
  CheckOpen();
  if (std::optional<Error> problem = RecordProblem(fields)) throw *problem;
  std::vector<std::string> record = fields;
  record.resize(columns_.size());
  records_.push_back(std::move(record));
  lines_.push_back(line);
  view_.push_back(records_.size() - 1);
  current_ = view_.size() - 1;
}

void RecordSet::Filter(std::string_view expression) {
  CheckOpen();
  std::vector<std::pair<int, FilterClause>> clauses;
  for (FilterClause& clause : ParseFilterExpression(expression)) {
    const int column = ColumnIndex(clause.column);
    if (column < 0) {
      throw Error(kErrItemNotFound, "Unbekannte Spalte >" + clause.column +
                                        "< im Filterausdruck >" + std::string(expression) + "<");
    }
    clauses.emplace_back(column, std::move(clause));
  }
  view_.clear();
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (Matches(records_[i], clauses)) view_.push_back(i);
  }
  filter_ = std::string(expression);
  current_ = 0;
}

bool RecordSet::Matches(const std::vector<std::string>& record,
                        const std::vector<std::pair<int, FilterClause>>& clauses) const {
  for (const auto& [column, clause] : clauses) {
    if (!ClauseHolds(record[column], clause)) return false;
  }
  return true;
}

int RecordSet::RecordCount() const {
  CheckOpen();
  return static_cast<int>(view_.size());
}

void RecordSet::MoveFirst() {
  CheckOpen();
  current_ = 0;
}

void RecordSet::MoveNext() {
  if (Eof()) throw Error(kErrNoCurrentRecord, "Kein aktueller Datensatz (Ende erreicht)");
  ++current_;
}

bool RecordSet::Eof() const {
  CheckOpen();
  return current_ >= view_.size();
}

const std::string& RecordSet::Value(std::string_view name) const {
  CheckOpen();
  const int column = ColumnIndex(name);
  if (column < 0) {
    throw Error(kErrItemNotFound, "Die Spalte >" + std::string(name) + "< gibt es nicht");
  }
  return Current()[column];
}

const std::string& RecordSet::Value(int position) const {
  CheckOpen();
  if (position < 0 || position >= ColumnCount()) {
    throw Error(kErrItemNotFound, "Die Spalte Nummer " + std::to_string(position) +
                                      " gibt es nicht (" + std::to_string(ColumnCount()) +
                                      " Spalten)");
  }
  return Current()[position];
}

int RecordSet::CurrentLine() const {
  CheckOpen();
  Current();  // throws at the end of the view
  return lines_[view_[current_]];
}

void RecordSet::Close() {
  records_.clear();
  lines_.clear();
  view_.clear();
  open_ = false;
}

int RecordSet::ColumnIndex(std::string_view name) const {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    if (EqualsIgnoreCase(columns_[i], name)) return static_cast<int>(i);
  }
  return -1;
}

const std::vector<std::string>& RecordSet::Current() const {
  if (current_ >= view_.size()) {
    throw Error(kErrNoCurrentRecord, "Kein aktueller Datensatz (Ende erreicht oder leer)");
  }
  return records_[view_[current_]];
}

void RecordSet::CheckOpen() const {
  if (!open_) throw Error(kErrRecordSetClosed, "Die Datensatzgruppe ist geschlossen");
}

}  // namespace quenda
