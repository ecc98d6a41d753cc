#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <random>
#include <system_error>
#include <thread>

#include "base/error.h"
#include "platform/file_lock.h"
#include "platform/native_path.h"

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

// The file a replace of `path` writes: `path` itself, or, when it is a symbolic link, the
// file at the end of its links (which need not exist yet). Throws 75 for a loop of links.
fs::path FollowLinks(const fs::path& path, const std::string& pathText) {
  constexpr int kMaxLinks = 40;  // as the kernel allows
  fs::path at = path;
  std::error_code ec;
  for (int hop = 0; fs::is_symlink(at, ec); ++hop) {
    if (hop == kMaxLinks) throw PlatformError(kErrPathFileAccess, pathText);
    const fs::path next = fs::read_symlink(at, ec);
    if (ec) throw FileError(ec, pathText);
    at = next.is_absolute() ? next : at.parent_path() / next;
  }
  return at;
}

// True when the open file `f` is empty or ends in CR LF.
bool EndsInLineBreak(std::FILE* f) {
  if (std::fseek(f, 0, SEEK_END) != 0) return true;
  const long size = std::ftell(f);
  if (size <= 0) return true;
  char last[2] = {0, 0};
  if (size < 2 || std::fseek(f, -2, SEEK_END) != 0) return false;
  return std::fread(last, 1, 2, f) == 2 && last[0] == '\r' && last[1] == '\n';
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
  const fs::path native = Native(path);
  std::error_code ec;
  if (fs::is_directory(native, ec)) throw PlatformError(kErrPathFileAccess, path);
  std::FILE* f = OpenNativeFile(native, "rb");
  if (f == nullptr) throw ReadOpenError(LastError(), native, path);
  std::string content;
  // One allocation of the final size instead of a doubling string that briefly needs
  // twice the file; the file may still change size while it is read.
  const std::uintmax_t size = fs::file_size(native, ec);
  if (!ec && size < content.max_size()) content.reserve(static_cast<std::size_t>(size));
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) content.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) throw PlatformError(kErrPathFileAccess, path);
  return content;
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

void Files::PassWritePoint(const std::string& path, WriteStep step) const {
  NoteStep(path, step);
  ++writePoints_;
  if (writePoints_ == crashAt_) std::_Exit(crashStatus_);
  if (writePoints_ == faultAt_) throw PlatformError(faultNumber_, path);
}

void Files::AppendLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, false);
}

void Files::RewriteLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, true);
}

void Files::WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                                 bool replace) const {
  PassWritePoint(path, WriteStep::kAppend);
  const fs::path native = Native(path);
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenNativeFile(native, "a+b"),
                                                             std::fclose);
  std::FILE* f = file.get();
  if (f == nullptr) throw CreateError(path);
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).append("\r\n");
  // Runs appending at the same time take turns, each writing its lines whole. A file
  // system without locks still gets the lines in one write.
  LockForAppend(f);
  bool failed = replace && !EmptyLockedFile(f);
  // A file edited by hand may lack its last line break: the lines start on their own.
  if (!replace && !EndsInLineBreak(f)) bytes.insert(0, "\r\n");
  failed = failed || std::fseek(f, 0, SEEK_END) != 0 ||
           std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size();
  if (failed) throw FileError(LastError(), path);
  // Flushed while the lock is held: the next run appends after lines that are on the disk.
  PassWritePoint(path, WriteStep::kFlush);
  if (const std::error_code ec = FlushToDisk(f)) throw FileError(ec, path);
  NoteWritten(path);
}

AtomicFile::AtomicFile(const Files& files, const std::string& path)
    : AtomicFile(files, path, files.Native(path)) {}

AtomicFile::AtomicFile(const Files& files, const std::string& path, const fs::path& native)
    : files_(files), path_(path), target_(FollowLinks(native, path)) {
  std::error_code ec;
  if (fs::is_directory(target_, ec)) throw PlatformError(kErrPathFileAccess, path);
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
  files_.PassWritePoint(path_);
  if (std::fwrite(bytes.data(), 1, bytes.size(), held_.Stream()) != bytes.size()) {
    whole_ = false;
    throw FileError(LastError(), path_);
  }
}

void AtomicFile::CopyFrom(const std::string& source, const fs::path& sourceNative) {
  files_.PassWritePoint(path_);
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
  if (!OpenHeld(files, path)) throw PlatformError(kErrPermissionDenied, path);
}

bool LineFile::OpenHeld(const Files& files, const std::string& path) {
  Close();
  std::FILE* file = nullptr;
  switch (OpenHeldFile(files.Native(path), file)) {
    case LockedOpen::kInUse:
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
  files_->PassWritePoint(path_);
  const std::string bytes = line + "\r\n";
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size() ||
      std::fflush(file_) != 0) {
    throw FileError(LastError(), path_);
  }
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
