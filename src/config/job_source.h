// The job's side of the configuration: the command line (job path, run mode), the check
// that the job comes from the flow system, and the job fields the selection reads.
// Each reader loads the job file into a DOMWrapper of its own.
#pragma once

#include <string>

namespace quenda {

class Session;

// Cuts session.env.CommandLineText at "," and sets JobFilePath and RunMode: one or two
// fields give field 1 trimmed and "P", three fields also field 3 trimmed as the mode; a
// blank command line or four and more fields give an empty path and leave the mode.
void ParseCommandLine(Session& session);

// True when the FromFlow field "Jobsource", trimmed and upper-cased, is "TOOLTEST" or
// "FLOW5". Raises 60000: "Inputfile " + path + " not found", "InputNode Envelope
// Name='FromFlow' not found", or the description of the error on the way.
bool IsJobFromFlow(Session& session, const std::string& jobFile);

// The trimmed FromFlow fields "Imp_CustomerCodeNumber" ("000" formatted) and
// "Imp_ECU_Designation". Raises 60000 "Inputfile " + path + " not found" for a missing
// file, and the DOMWrapper's 60000 for a missing field.
void ReadJobIdentity(Session& session, const std::string& jobFile, std::string& customer,
                     std::string& controlUnit);

// The FromFlow field `fieldName`, in the first record of table `tableName` (or among the
// envelope's own fields for the table name "DATA6"). Raises 60000: "Inputfile " + path +
// " not found", "InputNode Envelope Name='FromFlow' not found", "InputNode Name='" +
// table + "' not found", or the description of the error on the way.
std::string ReadExpressionField(Session& session, const std::string& jobFile,
                                const std::string& fieldName, const std::string& tableName);

}  // namespace quenda
