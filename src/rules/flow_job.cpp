#include "rules/flow_job.h"

#include "base/error.h"
#include "session/session.h"
#include "session/termination.h"
#include "text/cp1252.h"
#include "xml/dom_wrapper.h"

namespace quenda {
namespace {

struct EnvelopeNames {
  const char* name;
  const char* missingText;
};

// The readers and the ToFlow write-back word a missing envelope differently; the users see
// both texts in their messages.
EnvelopeNames NamesOf(FlowEnvelope envelope) {
  if (envelope == FlowEnvelope::kToFlow) return {"ToFlow", "Envelope 'ToFlow' not found."};
  return {"FromFlow", "InputNode Envelope Name='FromFlow' not found"};
}

// Ends the run for a job that cannot be read or written, the text in the run log too.
[[noreturn]] void EndForTheJob(Session& s, const std::string& text) {
  if (!s.env.BatchMode()) s.WriteLogLine(text);  // BatchMode logs the final message
  s.record.reason = end_reason::kError;
  ErrorEnd(s, text, EndStyle::Box(16), "Abbruch");
}

}  // namespace

std::string UnreadableJobText(const std::string& path, const std::string& reason) {
  return "Der Job " + path + " kann nicht gelesen werden: " + reason;
}

std::unique_ptr<DOMWrapper> LoadFlowJob(Session& s, const std::string& path) {
  if (!s.files.FileExists(path)) RaiseComposed("Inputfile " + path + " not found");
  auto doc = std::make_unique<DOMWrapper>(s.ui, s.files, s.site.FlowDataNamespaceUri);
  s.record.AwaitInput(path, input_role::kJob);
  try {
    doc->Load(path, FlowNamespaceDeclaration(s.site.FlowDataNamespaceUri));
  } catch (const DOMWrapper::FileFailure& e) {
    // Nothing of the run can go on without its job.
    EndForTheJob(s, UnreadableJobText(path, e.Reason()));
  }
  return doc;
}

void SaveFlowJob(Session& s, DOMWrapper& doc, const std::string& path) {
  try {
    doc.Save(path);
  } catch (const DOMWrapper::FileFailure& e) {
    // The rest of the release would stand on values the job does not hold.
    EndForTheJob(s, "Der Job " + path + " kann nicht zurückgeschrieben werden: "_cp + e.Reason());
  }
}

std::unique_ptr<DOMWrapper> OpenFlowJob(Session& s, const std::string& path,
                                        FlowEnvelope envelope) {
  std::unique_ptr<DOMWrapper> doc = LoadFlowJob(s, path);
  PosEnvelope(*doc, envelope);
  return doc;
}

void PosEnvelope(DOMWrapper& doc, FlowEnvelope envelope) {
  const EnvelopeNames names = NamesOf(envelope);
  if (!doc.PosNodeByName("Envelope", names.name)) RaiseComposed(names.missingText);
}

}  // namespace quenda
