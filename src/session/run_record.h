// What the release report tells beside the run's own state: when the run started, what
// ended it, every file it read that shaped the release, with the fingerprint of its
// contents as read, and the files it wrote, with the fingerprint of their contents as
// written. Fingerprints are taken only when a record is wanted (Want), each from the bytes
// the run reads or writes anyway.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_record.h"

namespace quenda {

class Files;

// Roles of the files a run reads.
namespace input_role {
inline constexpr char kJob[] = "job";
inline constexpr char kSettings[] = "settings";
inline constexpr char kGlobalTable[] = "globalTable";
inline constexpr char kCustomerTable[] = "customerTable";
inline constexpr char kList[] = "list";
inline constexpr char kDab[] = "dab";
inline constexpr char kObjectStore[] = "objectStore";
inline constexpr char kHex[] = "hex";
inline constexpr char kDamos[] = "damos";
inline constexpr char kApplication[] = "application";
}  // namespace input_role

// Why a run ended, as a machine reads it; empty while no end has said so (the report
// then judges by the exit status).
namespace end_reason {
inline constexpr char kEnded[] = "ended";    // the Ende button
inline constexpr char kClosed[] = "closed";  // the window closed
inline constexpr char kError[] = "error";    // an error that no handler expected
}  // namespace end_reason

struct InputFile {
  std::string path;  // as the run names it (a Windows path text, CP1252)
  std::string role;
  std::uintmax_t bytes = 0;
  std::string sha256;  // empty when the file could not be read or no record is wanted
};

// A file of an applied plan: the SHA-256 the plan said it would have and the one the run
// left it with (texts as the plan names them, UTF-8).
struct PlannedOutcome {
  std::string path;
  std::string planned;  // empty: the plan leaves no file there
  std::string written;  // empty: there is none now
  bool AsPlanned() const { return planned == written; }
};

// The plan a run applied (--apply): its file, when it was made, its own SHA-256 and, once
// the run has ended, every file of its changes.
struct AppliedPlan {
  std::string file;  // UTF-8
  std::string createdAt;
  std::string sha256;
  std::vector<PlannedOutcome> outcomes;
};

class RunRecord {
 public:
  RunRecord();

  // A record is wanted (a report): from now on the inputs and the files written are
  // fingerprinted.
  void Want() { files.Fingerprint(true); }
  bool Wanted() const { return files.Fingerprinting(); }

  // The run read `path` as `role`, these `bytes`. Only the first read of a path counts.
  void NoteInput(const std::string& path, const char* role, std::string_view bytes);
  // The same for bytes whose fingerprint the caller has taken (`digest`).
  void NoteInput(const std::string& path, const char* role, const FileDigest& digest);
  // The run is about to read `path` as `role` through its Files (whole, or as the source
  // of a copy): the first such read gives its size and fingerprint. Call it before the read.
  void AwaitInput(const std::string& path, const char* role);

  // In the order first noted, each with the fingerprint of its first read.
  std::vector<InputFile> Inputs() const;
  const std::string& StartedAt() const { return startedAt_; }

  std::string reason;      // see end_reason
  std::string configPath;  // [System] ConfigPath as the run read it
  FileRecord files;        // kept by the session's Files (Files::RecordIn)
  std::optional<AppliedPlan> plan;

 private:
  bool Known(const std::string& path) const;

  std::string startedAt_;
  std::vector<InputFile> inputs_;
};

}  // namespace quenda
