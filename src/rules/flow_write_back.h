// Writing a field back into the job file on disk. Each call loads the file into a
// DOMWrapper of its own and saves it once, atomically and durably; documents held elsewhere
// are untouched. A job that cannot be read or written back ends the run (LoadFlowJob,
// SaveFlowJob).
#pragma once

#include <string>

namespace quenda {

class Session;

// Sets the field `name` of the "FromFlow" envelope to `value` and saves the file.
// Raises 60000: "Inputfile " + file + " not found", "InputNode Envelope Name='FromFlow'
// not found", "Node 'Fields' not found", or the description of the error on the way.
void SetFromFlowField(Session& session, const std::string& file, const std::string& name,
                      const std::string& value);

// Sets the field `name` of the "ToFlow" envelope to `value`, adding it with the flow type
// `type` (and the envelope's fields element) when missing, and saves the file. Returns
// true. Raises 60000: "Inputfile " + file + " not found", "Envelope 'ToFlow' not found.",
// or the description of the error on the way.
bool SetToFlowField(Session& session, const std::string& file, const std::string& name,
                    const std::string& value, const std::string& type);

// SetFromFlowField and SetToFlowField on one loaded job with one save, so that the file on
// disk has the field in both envelopes or in neither, whenever the run ends. Raises what
// either raises; nothing is saved then.
void SetFlowFields(Session& session, const std::string& file, const std::string& name,
                   const std::string& value, const std::string& type);

}  // namespace quenda
