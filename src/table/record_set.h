// An in-memory record set of text columns: records in file order, a filter view, a
// current record and forward navigation. Built by clsLib from a delimited text file.
// Values are kept as read (not trimmed); readers trim what they take out.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/error.h"
#include "table/filter_expression.h"

namespace quenda {

class RecordSet {
 public:
  // Largest value a column holds (the columns are fixed-length text of this size).
  static constexpr std::size_t kColumnSize = 255;

  explicit RecordSet(std::vector<std::string> columnNames);

  int ColumnCount() const { return static_cast<int>(columns_.size()); }
  const std::vector<std::string>& ColumnNames() const { return columns_; }

  // Appends a record and makes it the current one; columns beyond the last field stay
  // empty. `line` is where the record stands in its file (0 when it has none). Throws
  // the error of RecordProblem when the fields do not fit.
  void AddRecord(const std::vector<std::string>& fields, int line = 0);

  // Why `fields` cannot become a record: Error kErrItemNotFound when there are more
  // fields than columns, Error 6 (overflow) for a value longer than kColumnSize, naming
  // the field. Nullopt when they fit.
  std::optional<Error> RecordProblem(const std::vector<std::string>& fields) const;

  // Narrows the view to the records that satisfy `expression` (see filter_expression.h);
  // an empty expression shows all records. The first record of the view becomes the
  // current one. Throws kErrBadFilter for an unreadable expression and kErrItemNotFound
  // for an unknown column, both naming the expression; the view is then unchanged.
  // Text equality is exact and case-sensitive; trailing blanks do not count.
  void Filter(std::string_view expression);
  const std::string& FilterText() const { return filter_; }

  // Number of records in the current view.
  int RecordCount() const;
  void MoveFirst();
  // Throws kErrNoCurrentRecord when already at the end.
  void MoveNext();
  bool Eof() const;

  // The current record's value of the column `name` (compared ignoring letter case,
  // blanks count) or at 0-based `position`. Throws kErrItemNotFound for an unknown column
  // and kErrNoCurrentRecord at the end of the view.
  const std::string& Value(std::string_view name) const;
  const std::string& Value(int position) const;

  // Drops all records; every later call except Close throws kErrRecordSetClosed.
  void Close();

  // The 0-based position of the column `name` as Value(name) finds it (ignoring letter
  // case, blanks count; the first of equal names); -1 when there is none.
  int ColumnIndex(std::string_view name) const;

  // The line of the current record in its file (see AddRecord). Throws
  // kErrNoCurrentRecord at the end of the view.
  int CurrentLine() const;

 private:
  bool Matches(const std::vector<std::string>& record,
               const std::vector<std::pair<int, FilterClause>>& clauses) const;
  const std::vector<std::string>& Current() const;
  void CheckOpen() const;

  std::vector<std::string> columns_;
  std::vector<std::vector<std::string>> records_;
  std::vector<int> lines_;         // per record
  std::vector<std::size_t> view_;  // indexes into records_
  std::size_t current_ = 0;        // index into view_
  std::string filter_;
  bool open_ = true;
};

}  // namespace quenda
