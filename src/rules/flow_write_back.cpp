#include "rules/flow_write_back.h"

#include <memory>

#include "base/error.h"
#include "rules/flow_job.h"
#include "session/session.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

std::string FieldPath(const std::string& name) { return "FD:Field[@Name='" + name + "']"; }

}  // namespace

void SetFromFlowField(Session& s, const std::string& file, const std::string& name,
                      const std::string& value) {
  try {
    const std::unique_ptr<DOMWrapper> doc = OpenFlowJob(s, file, FlowEnvelope::kFromFlow);
    if (!doc->PosNode("Fields", true)) RaiseComposed("Node 'Fields' not found");
    doc->SetElementByName(FieldPath(name), value);
    doc->Save(file);
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

bool SetToFlowField(Session& s, const std::string& file, const std::string& name,
                    const std::string& value, const std::string& type) {
  try {
    const std::unique_ptr<DOMWrapper> doc = OpenFlowJob(s, file, FlowEnvelope::kToFlow);
    if (!doc->HasChilds()) doc->AddNode("FD:Fields");
    doc->PosNode("Fields", true);
    if (doc->CheckElementByName(FieldPath(name))) {
      doc->SetElementByName(FieldPath(name), value);
    } else {
      doc->AddField(name, type, value);
    }
    doc->Save(file);
    return true;
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

}  // namespace quenda
