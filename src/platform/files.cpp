#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <random>
#include <system_error>
#include <thread>

#include "base/error.h"
#include "platform/file_lock.h"
#include "platform/input_file.h"
#include "platform/native_path.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

int NumberFor(const std::error_code& ec) {
#ifdef _WIN32
  // Windows tells a missing folder or drive from a missing file, and a bad name from
  // both; the standard library folds these into "no such file".
  if (ec.category() == std::system_category()) {
    switch (ec.value()) {
      case 3:   // ERROR_PATH_NOT_FOUND
      case 15:  // ERROR_INVALID_DRIVE
      case 53:  // ERROR_BAD_NETPATH
      case 67:  // ERROR_BAD_NET_NAME
        return kErrPathNotFound;
      case 123:  // ERROR_INVALID_NAME
      case 161:  // ERROR_BAD_PATHNAME
      case 206:  // ERROR_FILENAME_EXCED_RANGE
        return kErrBadFileName;
      case 39:   // ERROR_HANDLE_DISK_FULL
      case 112:  // ERROR_DISK_FULL
        return kErrDiskFull;
      default:
        break;
    }
  }
#endif
  if (ec == std::errc::no_such_file_or_directory) return kErrFileNotFound;
  if (ec == std::errc::not_a_directory) return kErrPathNotFound;
  if (ec == std::errc::permission_denied || ec == std::errc::operation_not_permitted ||
      ec == std::errc::read_only_file_system || ec == std::errc::device_or_resource_busy ||
      ec == std::errc::text_file_busy) {
    return kErrPermissionDenied;
  }
  if (ec == std::errc::no_space_on_device || ec == std::errc::file_too_large) return kErrDiskFull;
  if (ec == std::errc::file_exists) return kErrFileExists;
  if (ec == std::errc::filename_too_long || ec == std::errc::invalid_argument) {
    return kErrBadFileName;
  }
  return kErrPathFileAccess;
}

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// True when a folder or file name in `path` is longer than any file system allows; systems
// differ in what they report for it.
bool HasOverlongName(const std::string& path) {
  constexpr std::size_t kMaxName = 255;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find_first_of("\\/", start);
    if (end == std::string::npos) end = path.size();
    if (end - start > kMaxName) return true;
    start = end + 1;
  }
  return false;
}

// A file that cannot be created because its folder is missing is "path not found".
Error CreateError(const std::error_code& err, const std::string& path) {
  return err == std::errc::no_such_file_or_directory && !HasOverlongName(path)
             ? PlatformError(kErrPathNotFound, path)
             : FileError(err, path);
}

Error CreateError(const std::string& path) { return CreateError(LastError(), path); }

// The temporary files of replacing `target`: "." + its name + ".tmp" + a number.
std::string TempPrefixFor(const fs::path& target) {
  return "." + PathText(target.filename()) + ".tmp";
}

fs::path TempNameFor(const fs::path& target) {
  static std::mt19937_64 rng{std::random_device{}()};
  const std::string name = TempPrefixFor(target) + std::to_string(rng() % 1000000000);
  return target.parent_path() / NativePath(name);
}

bool NameTaken(const std::error_code& ec) {
#ifdef _WIN32
  if (ec.category() == std::system_category() && (ec.value() == 80 || ec.value() == 183)) {
    return true;  // ERROR_FILE_EXISTS, ERROR_ALREADY_EXISTS
  }
#endif
  return ec == std::errc::file_exists;
}

// Removes what a replace of `target` that was killed or cut off by a power failure left:
// its temporary files that no writer holds. A run replacing the file right now holds its
// own, so a clock running behind or a long replace costs nothing. Failures are of no
// concern to the replace that follows.
void RemoveUnheldTempFiles(const fs::path& target) {
  const std::string prefix = TempPrefixFor(target);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(target.parent_path(), ec)) {
    const std::string name = PathText(entry.path().filename());
    if (name.rfind(prefix, 0) != 0 || name.size() == prefix.size()) continue;
    if (name.find_first_not_of("0123456789", prefix.size()) != std::string::npos) continue;
    RemoveIfUnheld(entry.path());
  }
}

// True when the open file of `size` bytes is empty or ends in CR LF.
bool EndsInLineBreak(std::FILE* f, std::uint64_t size) {
  char last[2] = {0, 0};
  if (size == 0) return true;
  return size >= 2 && ReadFileAt(f, size - 2, last, 2) && last[0] == '\r' && last[1] == '\n';
}

// Puts a file back as it was before an append or a rewrite that failed, under its lock:
// cut back to `size` bytes, or for a rewrite `before` written again. Flushed, so that the
// next run reads what was there. Failures here leave nothing more to do.
void PutBack(std::FILE* f, std::uint64_t size, const std::string* before) {
  if (CutFileTo(f, before != nullptr ? 0 : size)) return;
  std::size_t written = 0;
  if (before != nullptr && WriteToFile(f, before->data(), before->size(), written)) return;
  FlushToDisk(f);
}

// What is wrong with the file at `native` that OpenHeldFile refused to hold.
std::string HeldFileRefusal(const fs::path& native, const std::string& path) {
  std::error_code ec;
  const fs::file_status status = fs::symlink_status(native, ec);
  if (fs::is_symlink(status)) {
    return RefusedFileError(path, "ist eine symbolische Verknüpfung"_cp).Description();
  }
  if (!fs::is_regular_file(status)) return NotRegularFileError(path).Description();
  if (fs::hard_link_count(native, ec) > 1) {
    return RefusedFileError(path, "hat einen weiteren Namen (harte Verknüpfung)"_cp).Description();
  }
  return RefusedFileError(path, "gehört einem anderen Benutzer"_cp).Description();
}

}  // namespace

Error FileError(const std::error_code& ec, const std::string& path) {
  if (HasOverlongName(path)) return PlatformError(kErrBadFileName, path);
  return PlatformError(NumberFor(ec), path);
}

Error ReadOpenError(const std::error_code& ec, const fs::path& native, const std::string& path) {
  std::error_code ignored;
  const fs::path folder = native.parent_path();
  if (ec == std::errc::no_such_file_or_directory && !HasOverlongName(path) && !folder.empty() &&
      !fs::is_directory(folder, ignored)) {
    return PlatformError(kErrPathNotFound, path);
  }
  return FileError(ec, path);
}

std::vector<std::string> SplitTextLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
  }
  return lines;
}

bool Files::FileExists(const std::string& path) const {
  if (path.empty() || !map_.CanResolve(path)) return false;
  std::error_code ec;
  return fs::is_regular_file(Native(path), ec);
}

bool Files::FolderExists(const std::string& path) const {
  if (path.empty() || !map_.CanResolve(path)) return false;
  std::error_code ec;
  return fs::is_directory(Native(path), ec);
}

bool Files::SameFile(const std::string& a, const std::string& b) const {
  if (!map_.CanResolve(a) || !map_.CanResolve(b)) return false;
  std::error_code ec;
  const bool same = fs::equivalent(Native(a), Native(b), ec);
  return !ec && same;
}

void Files::CopyFile(const std::string& from, const std::string& to) const {
  const fs::path source = Native(from);
  std::error_code ec;
  if (fs::is_directory(source, ec)) throw PlatformError(kErrPathFileAccess, from);
  std::FILE* probe = OpenNativeFile(source, "rb");
  if (probe == nullptr) throw ReadOpenError(LastError(), source, from);
  std::fclose(probe);
  AtomicFile file(*this, to);
  file.CopyFrom(from, source);
  file.Commit();
}

void Files::DeleteFile(const std::string& path) const {
  std::error_code ec;
  const fs::path native = Native(path);
  if (!fs::is_regular_file(native, ec)) throw PlatformError(kErrFileNotFound, path);
  if (!fs::remove(native, ec) || ec) throw FileError(ec ? ec : LastError(), path);
  std::erase(written_, path);
}

void Files::CreateFolder(const std::string& path) const {
  std::error_code ec;
  const fs::path native = Native(path);
  fs::path parent = native.parent_path();
  if (native.filename().empty()) parent = parent.parent_path();
  if (!parent.empty() && !fs::is_directory(parent, ec)) {
    throw PlatformError(kErrPathNotFound, path);
  }
  fs::create_directory(native, ec);
  if (ec) throw FileError(ec, path);
}

void Files::ResetAttributes(const std::string& path) const {
  std::error_code ec;
  ClearFileAttributes(Native(path), ec);
  if (ec) throw FileError(ec, path);
}

std::string Files::ReadAll(const std::string& path) const {
  return ReadInputFile(Native(path), path);
}

std::vector<std::string> Files::ReadLines(const std::string& path) const {
  return SplitTextLines(ReadAll(path));
}

void Files::WriteAll(const std::string& path, const std::string& content) const {
  AtomicFile file(*this, path);
  file.Write(content);
  file.Commit();
}

void Files::WriteLines(const std::string& path, const std::vector<std::string>& lines) const {
  std::string content;
  for (const std::string& line : lines) content.append(line).append("\r\n");
  WriteAll(path, content);
}

void Files::NoteWritten(const std::string& path) const {
  if (std::find(written_.begin(), written_.end(), path) == written_.end()) {
    written_.push_back(path);
  }
}

void Files::NoteStep(const std::string& path, WriteStep step) const {
  static const char* const kNames[] = {"write", "flush", "rename", "folder", "append"};
  if (recording_) steps_.push_back(std::string(kNames[static_cast<int>(step)]) + " " + path);
}

std::size_t Files::PassWritePoint(const std::string& path, WriteStep step) const {
  NoteStep(path, step);
  ++writePoints_;
  if (writePoints_ == crashAt_) std::_Exit(crashStatus_);
  if (writePoints_ != faultAt_) return SIZE_MAX;
  // Only a write of bytes can stop part way; a flush or a rename cut short fails.
  const bool bytes = step == WriteStep::kWrite || step == WriteStep::kAppend;
  if (!faultShort_ || !bytes) throw PlatformError(faultNumber_, path);
  return faultBytes_;
}

void Files::AppendLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, false);
}

void Files::RewriteLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, true);
}

void Files::WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                                 bool replace) const {
  const std::size_t limit = PassWritePoint(path, WriteStep::kAppend);
  const fs::path native = Native(path);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForAppend(native, path),
                                                             std::fclose);
  std::FILE* f = file.get();
  if (f == nullptr) throw CreateError(path);
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).append("\r\n");
  // Runs appending at the same time take turns, each writing its lines whole. A file
  // system without locks still gets the lines in one write.
  LockForAppend(f);
  std::uint64_t size = 0;
  std::string before;
  if (!SizeOfFile(f, size) || (replace && !ReadHeldFile(f, before))) {
    throw FileError(LastError(), path);
  }
  if (replace && !EmptyLockedFile(f)) throw FileError(LastError(), path);
  // A file edited by hand may lack its last line break: the lines start on their own.
  if (!replace && !EndsInLineBreak(f, size)) bytes.insert(0, "\r\n");
  try {
    // Written by the descriptor, not through stdio's buffer: a write that stops short is
    // seen here, before the lock ends, and taken back.
    std::size_t written = 0;
    const std::size_t allowed = std::min(limit, bytes.size());
    if (const std::error_code ec = WriteToFile(f, bytes.data(), allowed, written)) {
      throw FileError(ec, path);
    }
    if (allowed < bytes.size()) throw CutShortError(path);
    // Flushed while the lock is held: the next run appends after lines that are on the disk.
    PassWritePoint(path, WriteStep::kFlush);
    if (const std::error_code ec = FlushToDisk(f)) throw FileError(ec, path);
  } catch (const Error&) {
    PutBack(f, size, replace ? &before : nullptr);
    throw;
  }
  NoteWritten(path);
}

AtomicFile::AtomicFile(const Files& files, const std::string& path)
    : AtomicFile(files, path, files.Native(path)) {}

AtomicFile::AtomicFile(const Files& files, const std::string& path, const fs::path& native)
    : files_(files),
      path_(path),
      target_(CheckedWriteTarget(native, path, LinkRule::kProtectedLinks)) {
  std::error_code ec;
  const auto status = fs::status(target_, ec);
  if (!ec && fs::exists(status) &&
      (status.permissions() & fs::perms::owner_write) == fs::perms::none) {
    throw PlatformError(kErrPermissionDenied, path);  // a read-only file stays as it is
  }
  RemoveUnheldTempFiles(target_);
  for (int attempt = 0; attempt < 10; ++attempt) {
    temp_ = TempNameFor(target_);
    ec = held_.Create(temp_, target_);
    if (!NameTaken(ec)) break;
  }
  if (ec) {
    temp_.clear();
    throw CreateError(ec, path);
  }
}

AtomicFile::~AtomicFile() {
  held_.Close();
  if (!temp_.empty()) {
    std::error_code ec;
    fs::remove(temp_, ec);
  }
}

void AtomicFile::Write(const std::string& bytes) {
  const std::size_t allowed = std::min(files_.PassWritePoint(path_), bytes.size());
  if (std::fwrite(bytes.data(), 1, allowed, held_.Stream()) != allowed) {
    whole_ = false;
    throw FileError(LastError(), path_);
  }
  if (allowed < bytes.size()) {
    whole_ = false;
    throw files_.CutShortError(path_);
  }
}

void AtomicFile::CopyFrom(const std::string& source, const fs::path& sourceNative) {
  // The system's copy cannot be cut at a byte: cut short, it fails before it starts.
  if (files_.PassWritePoint(path_) != SIZE_MAX) {
    whole_ = false;
    throw files_.CutShortError(path_);
  }
  const std::error_code ec = held_.CopyFrom(sourceNative);
  if (!ec) return;
  whole_ = false;
  std::error_code ignored;
  if (!fs::exists(sourceNative, ignored)) throw ReadOpenError(ec, sourceNative, source);
  throw FileError(ec, path_);
}

void AtomicFile::Commit() {
  using Step = Files::WriteStep;
  files_.PassWritePoint(path_, Step::kFlush);
  std::error_code ec = held_.Flush();
  if (ec) throw FileError(ec, path_);
  files_.PassWritePoint(path_, Step::kRename);
  // On Windows a file that another program (another run) is reading at this moment
  // cannot be replaced; such reads are short, so the rename is tried again for a second.
  for (int attempt = 0; attempt < 50; ++attempt) {
    ec = held_.RenameOnto(target_);
    if (ec != std::errc::permission_denied) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (ec) throw FileError(ec, path_);
  temp_.clear();
  held_.Close();
  files_.NoteWritten(path_);
  files_.NoteStep(path_, Step::kFlushFolder);
  ec = FlushFolder(target_.parent_path());
  if (ec) throw FileError(ec, path_);
}

void LineFile::Open(const Files& files, const std::string& path) {
  // Held like every run log, so that it can be copied and deleted before it is closed.
  std::string refusal;
  if (OpenHeld(files, path, &refusal)) return;
  throw refusal.empty() ? PlatformError(kErrPermissionDenied, path)
                        : Error(kErrPermissionDenied, refusal);
}

bool LineFile::OpenHeld(const Files& files, const std::string& path, std::string* refusal) {
  Close();
  if (refusal != nullptr) refusal->clear();
  std::FILE* file = nullptr;
  switch (OpenHeldFile(files.Native(path), file)) {
    case LockedOpen::kInUse:
      return false;
    case LockedOpen::kNotRegular:
    case LockedOpen::kForeign:
      if (refusal != nullptr) *refusal = HeldFileRefusal(files.Native(path), path);
      return false;
    case LockedOpen::kFailed:
      throw CreateError(path);
    case LockedOpen::kOpened:
      break;
  }
  files_ = &files;
  path_ = path;
  file_ = file;
  files.NoteWritten(path);
  return true;
}

void LineFile::WriteLine(const std::string& line) {
  if (file_ == nullptr) return;
  const std::string bytes = line + "\r\n";
  const std::size_t allowed = std::min(files_->PassWritePoint(path_), bytes.size());
  if (std::fwrite(bytes.data(), 1, allowed, file_) != allowed || std::fflush(file_) != 0) {
    throw FileError(LastError(), path_);
  }
  if (allowed < bytes.size()) throw files_->CutShortError(path_);
}

std::string LineFile::Content() const {
  std::string content;
  if (file_ != nullptr && !ReadHeldFile(file_, content)) throw FileError(LastError(), path_);
  return content;
}

void LineFile::Close() {
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

}  // namespace quenda
