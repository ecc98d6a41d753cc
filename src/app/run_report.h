// The release report for batch systems: one UTF-8 JSON object that says how the run ended,
// what it worked on, what it computed and which files it wrote.
#pragma once

#include <string>

namespace quenda {

class Session;

// The report of `session` ended with `exitStatus`: exitStatus, message (TerminateRun's final
// text, else the last log line), job, configuration, parameters, slots and files (every file
// written and still there, with its size in bytes now). CP1252 texts become UTF-8; the
// object ends in a line feed.
std::string RunReportJson(const Session& session, int exitStatus);

// Writes RunReportJson to the native path `nativePath`, replacing it atomically and durably.
// Returns false when it cannot be written (the temporary file is removed).
bool WriteRunReport(const Session& session, int exitStatus, const std::string& nativePath);

}  // namespace quenda
