// The release report for batch systems: one UTF-8 JSON object that says how the run ended,
// what it worked on, what it computed and which files it wrote.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

#include "base/error.h"

namespace quenda {

struct Options;
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
// Returns false when it cannot be written (the temporary file is removed), with the
// platform error naming the file in `*failure` when given.
bool WriteRunReport(const Session& session, int exitStatus, const std::string& nativePath,
                    std::optional<Error>* failure = nullptr);

// The records `options` asked for, once the run has ended with `exitStatus`: the report
// written (--report), the transcript checked (--transcript). Each one that is not whole is
// told on `err` ("Quenda: Der Bericht <file> wurde nicht geschrieben: <reason>", the same
// with "Das Dialogprotokoll"); with `namePath` a written report's path is the last line
// there. Returns kExitRecordNotWritten when the run ended successfully and a record is
// missing; any other end keeps its status.
int FinishRequestedRecords(const Session& session, const Options& options, int exitStatus,
                           std::FILE* err, bool namePath);

}  // namespace quenda
