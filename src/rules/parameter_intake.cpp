#include "rules/parameter_intake.h"

#include <memory>
#include <optional>

#include "base/error.h"
#include "base/line_value.h"
#include "platform/atomic_file.h"
#include "platform/input_file.h"
#include "rules/flow_job.h"
#include "rules/rule_functions.h"
#include "session/session.h"
#include "table/cls_lib.h"
#include "text/cp1252.h"
#include "text/tokens.h"
#include "xml/dom_wrapper.h"
#include "xml/release_object.h"

namespace quenda {
namespace {

void EvaluateRows(Session& s, DOMWrapper& doc, RecordSet& records, int markColumn,
                  AtomicFile* reference) {
  s.params.RowCounter = 0;
  for (records.MoveFirst(); !records.Eof(); records.MoveNext()) {
    if (!IsMarkedRow(records, markColumn)) continue;
    const std::string value =
        Trim(records.Value("Rule")) == "none" ? "" : ApplyParameterRule(s, doc, records);
    StoreParameterRow(s, value, records, s.params.RowCounter, reference);
    ++s.params.RowCounter;
  }
}

}  // namespace

bool IsMarkedRow(const RecordSet& records, int markColumn) {
  return Trim(records.Value(markColumn)) == "*";
}

void SetParamColumns(Session& s) {
  for (int item = 0; item <= ParamTable::kValue; ++item) {
    s.params.columns[item] = static_cast<std::int16_t>(item);
  }
}

std::string ParameterIntake(Session& s, const std::string& jobFile, const std::string& configFile,
                            int markColumn, AtomicFile* reference) {
  try {
    if (IsNonRegularFile(s.files, configFile)) throw NotRegularFileError(configFile);
    if (!s.files.FileExists(configFile)) {
      RaiseComposed("Configuration file " + configFile + " not found");
    }
    std::unique_ptr<DOMWrapper> doc = OpenFlowJob(s, jobFile, FlowEnvelope::kFromFlow);
    doc->PosNode("Fields", true);
    s.record.AwaitInput(configFile, input_role::kCustomerTable);
    std::optional<RecordSet> records =
        clsLib(s.files).GetTextStreamAsRecordSet(configFile, ";", true);
    s.params.SourceTable = configFile;
    EvaluateRows(s, *doc, *records, markColumn, reference);
    ReleaseObject(records);
    ReleaseObject(doc);
    return std::to_string(s.params.RowCounter);
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

std::string ReferenceFilePath(const Session& s) {
  return s.site.ToolsShareRoot + "\\TOOLS\\Quenda\\Cfg_Ref\\aktcfg_" + s.job.CfgConfiguration +
         ".txt";
}

std::string ReferenceLine(const std::string& name, const std::string& value) {
  std::string line = name;
  line.resize(std::max<std::size_t>(name.size(), 50), ' ');
  if (name.size() > 50) line += ' ';
  return line + value;
}

void StoreParameterRow(Session& s, const std::string& value, const RecordSet& records, int row,
                       AtomicFile* reference) {
  try {
    for (std::size_t item = 0; item < kStoredParameterColumns.size(); ++item) {
      s.params.At(row, s.params.columns[item]) = Trim(records.Value(kStoredParameterColumns[item]));
    }
    s.params.At(row, s.params.columns[ParamTable::kValue]) = value;
    s.params.SourceLines[static_cast<std::size_t>(row)] = records.CurrentLine();
    if (s.job.RunMode != "T" || s.job.ProgramTag != "quenda") return;
    if (reference == nullptr)
      throw PlatformError(kErrBadFileName, "Referenzdatei nicht geöffnet"_cp);
    const std::string& name = s.params.At(row, s.params.columns[0]);
    RequireLineValue(name, name, ReferenceFilePath(s));
    RequireLineValue(name, value, ReferenceFilePath(s));
    reference->WriteLine(ReferenceLine(s.params.At(row, s.params.columns[0]), value));
  } catch (const Error& e) {
    throw Error(kErrComposed, e.Description());
  }
}

}  // namespace quenda
