// The parameter intake: the rows of the customer configuration table marked for this
// program are evaluated by their rules against the job and stored in the session's
// ParamTable (name, stored columns, value), row 0 upwards.
#pragma once

#include <array>
#include <string>

namespace quenda {

class AtomicFile;
class RecordSet;
class Session;

// Position (0-based) of the selection mark in the customer configuration table.
constexpr int kSelectionMarkColumn = 2;

// The customer table's columns stored in the parameter table, in the order of
// ParamTable::columns. Each must exist in the table.
inline constexpr std::array<const char*, 13> kStoredParameterColumns = {
    "Field1_Name_XML", "Description", "Quenda",           "CNT",
    "Label",           "Array_Nr",    "Format",           "Dummy",
    "Name_DAB",        "Rule",        "Required_for_CNT", "Required_for_Quenda",
    "XML_Optional"};

// True when the current record is taken: its column `markColumn`, trimmed, is "*".
// Throws the record set's error when there is no such column.
bool IsMarkedRow(const RecordSet& records, int markColumn);

// Sets the column numbers of the parameter table (ParamTable::columns).
void SetParamColumns(Session& session);

// Reads `configFile` (";", header line), and for every row whose column `markColumn`,
// trimmed, is "*" computes the value ("" for the rule "none", else ApplyParameterRule on
// the job `jobFile`) and stores the row. In test mode the rows also go to `reference`.
// Returns the number of stored rows as text (also left in ParamTable::RowCounter).
// Raises 60000 whose description is "Configuration file " + path + " not found",
// "Inputfile " + path + " not found", "InputNode Envelope Name='FromFlow' not found", or
// the underlying error's description. Rule aborts end the run (RunEnded).
std::string ParameterIntake(Session& session, const std::string& jobFile,
                            const std::string& configFile, int markColumn,
                            AtomicFile* reference = nullptr);

// Stores the thirteen named columns of the current record (trimmed) and `value` into
// parameter row `row`; in test mode ("T") with the program tag "quenda" it also writes
// the line name (padded with blanks to 50, or followed by one blank) + value to
// `reference`. Raises 60000 with the underlying description: a row above 300, a missing
// column, test mode without a reference file, a name or value holding a byte no line may
// carry (text/line_text.h), which is refused naming the parameter and ReferenceFilePath
// before its line is written.
void StoreParameterRow(Session& session, const std::string& value, const RecordSet& records,
                       int row, AtomicFile* reference);

// The reference configuration of test mode: ToolsShareRoot +
// "\TOOLS\Quenda\Cfg_Ref\aktcfg_" + the selected configuration + ".txt".
std::string ReferenceFilePath(const Session& session);

// The line of the reference configuration file for one parameter.
std::string ReferenceLine(const std::string& name, const std::string& value);

}  // namespace quenda
