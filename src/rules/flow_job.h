// Opening a FlowData job file: the check that it exists, the load with the prefix FD bound
// to the site's FlowData namespace, and the positioning on one of its two envelopes, with
// the failure texts that the job's readers and writers report.
#pragma once

#include <memory>
#include <string>

namespace quenda {

class DOMWrapper;
class Session;

// The envelopes of a job, each with the text that reports it missing.
enum class FlowEnvelope {
  kFromFlow,  // "InputNode Envelope Name='FromFlow' not found"
  kToFlow,    // "Envelope 'ToFlow' not found."
};

// The job `path` loaded into a DOMWrapper of its own (on the session's ui and files), with
// the selection namespace FlowNamespaceDeclaration(site.FlowDataNamespaceUri); no node is
// current. Raises 60000 "Inputfile " + path + " not found" for a missing file. A job that
// cannot be read or parsed ends the run (ErrorEnd, the line in the run log too) with
// UnreadableJobText(path, reason), the reason as DOMWrapper::Load gives it.
std::unique_ptr<DOMWrapper> LoadFlowJob(Session& session, const std::string& path);

// Writes `doc` back to the job `path` (DOMWrapper::Save). A failed write ends the run
// (ErrorEnd, the line in the run log too) with "Der Job " + path + " kann nicht
// zurückgeschrieben werden: " + the platform's text naming the file.
void SaveFlowJob(Session& session, DOMWrapper& doc, const std::string& path);

// "Der Job " + path + " kann nicht gelesen werden: " + reason.
std::string UnreadableJobText(const std::string& path, const std::string& reason);

// LoadFlowJob, then the envelope `envelope` becomes the current node. Raises 60000 with the
// envelope's text (see FlowEnvelope) when the job has no such envelope.
std::unique_ptr<DOMWrapper> OpenFlowJob(Session& session, const std::string& path,
                                        FlowEnvelope envelope);

// The envelope `envelope` of the loaded job `doc` becomes the current node. Raises 60000
// with the envelope's text (see FlowEnvelope) when the job has no such envelope.
void PosEnvelope(DOMWrapper& doc, FlowEnvelope envelope);

}  // namespace quenda
