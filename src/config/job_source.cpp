#include "config/job_source.h"

#include <algorithm>
#include <memory>

#include "base/error.h"
#include "rules/flow_job.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"
#include "xml/dom_wrapper.h"

namespace quenda {

void ParseCommandLine(Session& s) {
  const std::string& line = s.env.CommandLineText;
  const std::size_t fields = IsBlank(line) ? 0 : 1 + std::count(line.begin(), line.end(), ',');
  if (fields == 0 || fields > 3) {
    s.job.JobFilePath.clear();
    return;
  }
  s.job.JobFilePath = Trim(GetToken(line, 0, ","));
  s.job.RunMode = fields == 3 ? Trim(GetToken(line, 2, ",")) : "P";
}

bool IsJobFromFlow(Session& s, const std::string& jobFile) {
  try {
    const std::unique_ptr<DOMWrapper> doc = OpenFlowJob(s, jobFile, FlowEnvelope::kFromFlow);
    doc->PosNode("Fields", true);
    const std::string source =
        UpperCase(Trim(doc->GetElementByName("FD:Field[@Name= 'Jobsource']")));
    return source == "TOOLTEST" || source == "FLOW5";
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

void ReadJobIdentity(Session& s, const std::string& jobFile, std::string& customer,
                     std::string& controlUnit) {
  const std::unique_ptr<DOMWrapper> doc = LoadFlowJob(s, jobFile);
  const std::string envelope = "//FD:Envelope[@Name='FromFlow']";
  customer = doc->GetElementValue(envelope + "//FD:Field[@Name='Imp_CustomerCodeNumber']", false);
  controlUnit = doc->GetElementValue(envelope + "//FD:Field[@Name='Imp_ECU_Designation']", false);
  customer = FormatNumber000(Trim(customer), s.site.DecimalSeparator);
  controlUnit = Trim(controlUnit);
}

std::string ReadExpressionField(Session& s, const std::string& jobFile,
                                const std::string& fieldName, const std::string& tableName) {
  try {
    const std::unique_ptr<DOMWrapper> doc = OpenFlowJob(s, jobFile, FlowEnvelope::kFromFlow);
    const std::string table = Trim(tableName);
    if (UpperCase(table) != "DATA6" && !doc->PosNodeByName("Datas", table, true)) {
      RaiseComposed("InputNode Name='" + tableName + "' not found");
    }
    doc->PosNode("Fields", true);
    return doc->GetElementByName("FD:Field[@Name='" + fieldName + "']");
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

}  // namespace quenda
