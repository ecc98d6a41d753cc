// What the release report tells beside the run's own state: when the run started, what
// ended it, every file it read that shaped the release, with the fingerprint of its
// contents as read, and the files it wrote.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/written_files.h"

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
  std::string sha256;  // empty when the file could not be read again
};

class RunRecord {
 public:
  RunRecord();

  // The run read `path` as `role`, these `bytes`. Only the first read of a path counts.
  void NoteInput(const std::string& path, const char* role, std::string_view bytes);
  // As NoteInput for a file that the run read in its own way: reads it again through
  // `files`, in pieces.
  void NoteInputFile(const Files& files, const std::string& path, const char* role);

  const std::vector<InputFile>& Inputs() const { return inputs_; }
  const std::string& StartedAt() const { return startedAt_; }

  std::string reason;      // see end_reason
  std::string configPath;  // [System] ConfigPath as the run read it
  WrittenFiles written;    // kept by the session's Files (Files::RecordWrittenIn)

 private:
  bool Known(const std::string& path) const;

  std::string startedAt_;
  std::vector<InputFile> inputs_;
};

}  // namespace quenda
