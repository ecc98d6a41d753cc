#include "config/job_source.h"

#include <algorithm>

#include "base/error.h"
#include "session/session.h"
#include "text/cp1252.h"
#include "text/regional_number.h"
#include "text/tokens.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

// A failure of this unit's own; the handlers add the interrupting error's description.
struct SourceFailure {
  std::string text;
};

[[noreturn]] void Raise(const std::string& text, const std::string& underlying = {}) {
  throw Error(kErrComposed, Trim(text + " " + underlying));
}

void LoadFromFlowEnvelope(Session& s, DOMWrapper& doc, const std::string& jobFile) {
  if (!s.files.FileExists(jobFile)) throw SourceFailure{"Inputfile " + jobFile + " not found"};
  doc.Load(jobFile, FlowNamespaceDeclaration(s));
  if (!doc.PosNodeByName("Envelope", "FromFlow")) {
    throw SourceFailure{"InputNode Envelope Name='FromFlow' not found"};
  }
}

}  // namespace

std::string FlowNamespaceDeclaration(const Session& s) {
  return "xmlns:FD='" + s.site.FlowDataNamespaceUri + "'";
}

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
    DOMWrapper doc(s.ui, s.files, s.site.FlowDataNamespaceUri);
    LoadFromFlowEnvelope(s, doc, jobFile);
    doc.PosNode("Fields", true);
    const std::string source =
        UpperCase(Trim(doc.GetElementByName("FD:Field[@Name= 'Jobsource']")));
    return source == "TOOLTEST" || source == "FLOW5";
  } catch (const SourceFailure& f) {
    Raise(f.text);
  } catch (const Error& e) {
    Raise("", e.Description());
  }
}

void ReadJobIdentity(Session& s, const std::string& jobFile, std::string& customer,
                     std::string& controlUnit) {
  if (!s.files.FileExists(jobFile)) Raise("Inputfile " + jobFile + " not found");
  DOMWrapper doc(s.ui, s.files, s.site.FlowDataNamespaceUri);
  doc.Load(jobFile, FlowNamespaceDeclaration(s));
  const std::string envelope = "//FD:Envelope[@Name='FromFlow']";
  customer = doc.GetElementValue(envelope + "//FD:Field[@Name='Imp_CustomerCodeNumber']", false);
  controlUnit = doc.GetElementValue(envelope + "//FD:Field[@Name='Imp_ECU_Designation']", false);
  customer = FormatNumber000(Trim(customer), s.site.DecimalSeparator);
  controlUnit = Trim(controlUnit);
}

std::string ReadExpressionField(Session& s, const std::string& jobFile,
                                const std::string& fieldName, const std::string& tableName) {
  try {
    DOMWrapper doc(s.ui, s.files, s.site.FlowDataNamespaceUri);
    LoadFromFlowEnvelope(s, doc, jobFile);
    const std::string table = Trim(tableName);
    if (UpperCase(table) != "DATA6" && !doc.PosNodeByName("Datas", table, true)) {
      throw SourceFailure{"InputNode Name='" + tableName + "' not found"};
    }
    doc.PosNode("Fields", true);
    return doc.GetElementByName("FD:Field[@Name='" + fieldName + "']");
  } catch (const SourceFailure& f) {
    Raise(f.text);
  } catch (const Error& e) {
    Raise("", e.Description());
  }
}

}  // namespace quenda
