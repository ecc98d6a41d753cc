// The release report for batch systems: one UTF-8 JSON object that says how the run ended,
// what it worked on, what it computed and which files it wrote.
#pragma once

#include <string>

namespace quenda {

class Session;

// The version of the report's layout, its first field.
inline constexpr int kRunReportSchema = 2;

// The report of `session` ended with `exitStatus`: schemaVersion, quenda (version), run
// (times, user, computer, folders, command line), reason, exitStatus, message (TerminateRun's
// final text, else the last log line), job, configuration, inputs (every file read that
// shaped the release, with its SHA-256 as read), parameters (with table and line), slots,
// files (every file written and still there, with its size and SHA-256 now) and dialogs.
// CP1252 texts become UTF-8; the object ends in a line feed.
std::string RunReportJson(const Session& session, int exitStatus);

// Writes RunReportJson to the native path `nativePath`, replacing it atomically and durably.
// Returns false when it cannot be written (the temporary file is removed), after a line on
// standard error with the cause (also a device, a FIFO or a refused link at the path).
bool WriteRunReport(const Session& session, int exitStatus, const std::string& nativePath);

}  // namespace quenda
