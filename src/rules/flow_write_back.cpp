#include "rules/flow_write_back.h"

#include "base/error.h"
#include "session/session.h"
#include "text/tokens.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

// Raised failure: the step's own message and the interrupting error's description. Own
// failures thrown inside the try blocks pass the outer handler with the same text.
[[noreturn]] void Fail(const std::string& message, const std::string& underlying = {}) {
  throw Error(kErrComposed, Trim(message + " " + underlying));
}

void LoadJob(Session& s, DOMWrapper& doc, const std::string& file) {
  if (!s.files.FileExists(file)) Fail("Inputfile " + file + " not found");
  doc.Load(file, "xmlns:FD='" + s.site.FlowDataNamespaceUri + "'");
}

std::string FieldPath(const std::string& name) { return "FD:Field[@Name='" + name + "']"; }

}  // namespace

void SetFromFlowField(Session& s, const std::string& file, const std::string& name,
                      const std::string& value) {
  try {
    DOMWrapper doc(s.ui, s.files, s.site.FlowDataNamespaceUri);
    LoadJob(s, doc, file);
    if (!doc.PosNodeByName("Envelope", "FromFlow")) {
      Fail("InputNode Envelope Name='FromFlow' not found");
    }
    if (!doc.PosNode("Fields", true)) Fail("Node 'Fields' not found");
    doc.SetElementByName(FieldPath(name), value);
    doc.Save(file);
  } catch (const Error& e) {
    Fail("", e.Description());
  }
}

bool SetToFlowField(Session& s, const std::string& file, const std::string& name,
                    const std::string& value, const std::string& type) {
  try {
    DOMWrapper doc(s.ui, s.files, s.site.FlowDataNamespaceUri);
    LoadJob(s, doc, file);
    if (!doc.PosNodeByName("Envelope", "ToFlow")) Fail("Envelope 'ToFlow' not found.");
    if (!doc.HasChilds()) doc.AddNode("FD:Fields");
    doc.PosNode("Fields", true);
    if (doc.CheckElementByName(FieldPath(name))) {
      doc.SetElementByName(FieldPath(name), value);
    } else {
      doc.AddField(name, type, value);
    }
    doc.Save(file);
    return true;
  } catch (const Error& e) {
    Fail("", e.Description());
  }
}

}  // namespace quenda
