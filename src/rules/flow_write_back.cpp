#include "rules/flow_write_back.h"

#include <memory>

#include "base/error.h"
#include "rules/flow_job.h"
#include "session/session.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

std::string FieldPath(const std::string& name) { return "FD:Field[@Name='" + name + "']"; }

// The field `name` of the FromFlow envelope of `doc` set to `value`.
void SetFromFlowIn(DOMWrapper& doc, const std::string& name, const std::string& value) {
  PosEnvelope(doc, FlowEnvelope::kFromFlow);
  if (!doc.PosNode("Fields", true)) RaiseComposed("Node 'Fields' not found");
  doc.SetElementByName(FieldPath(name), value);
}

// The field `name` of the ToFlow envelope of `doc` set to `value`, added with `type`.
void SetToFlowIn(DOMWrapper& doc, const std::string& name, const std::string& value,
                 const std::string& type) {
  PosEnvelope(doc, FlowEnvelope::kToFlow);
  if (!doc.HasChilds()) doc.AddNode("FD:Fields");
  doc.PosNode("Fields", true);
  if (doc.CheckElementByName(FieldPath(name))) {
    doc.SetElementByName(FieldPath(name), value);
  } else {
    doc.AddField(name, type, value);
  }
}

}  // namespace

void SetFromFlowField(Session& s, const std::string& file, const std::string& name,
                      const std::string& value) {
  try {
    const std::unique_ptr<DOMWrapper> doc = LoadFlowJob(s, file);
    SetFromFlowIn(*doc, name, value);
    SaveFlowJob(s, *doc, file);
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

bool SetToFlowField(Session& s, const std::string& file, const std::string& name,
                    const std::string& value, const std::string& type) {
  try {
    const std::unique_ptr<DOMWrapper> doc = LoadFlowJob(s, file);
    SetToFlowIn(*doc, name, value, type);
    SaveFlowJob(s, *doc, file);
    return true;
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

void SetFlowFields(Session& s, const std::string& file, const std::string& name,
                   const std::string& value, const std::string& type) {
  try {
    const std::unique_ptr<DOMWrapper> doc = LoadFlowJob(s, file);
    SetFromFlowIn(*doc, name, value);
    SetToFlowIn(*doc, name, value, type);
    SaveFlowJob(s, *doc, file);
  } catch (const Error& e) {
    RaiseComposed({}, e.Description());
  }
}

}  // namespace quenda
