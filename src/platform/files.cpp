#include "platform/files.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <system_error>

#include "base/error.h"
#include "platform/atomic_file.h"
#include "platform/file_errors.h"
#include "platform/file_lock.h"
#include "platform/held_file.h"
#include "platform/input_file.h"
#include "platform/native_path.h"
#include "platform/own_file.h"
#include "text/cp1252.h"

namespace fs = std::filesystem;

namespace quenda {
namespace {

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

}  // namespace

Error FileError(const std::error_code& ec, const std::string& path) {
  if (HasOverlongName(path)) return PlatformError(kErrBadFileName, path);
  return PlatformError(FileErrorNumber(ec), path);
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

Error CreateError(const std::error_code& ec, const std::string& path) {
  return ec == std::errc::no_such_file_or_directory && !HasOverlongName(path)
             ? PlatformError(kErrPathNotFound, path)
             : FileError(ec, path);
}

Error CreateError(const std::string& path) { return CreateError(LastError(), path); }

Error LastFileError(const std::string& path) { return FileError(LastError(), path); }

std::optional<std::string> DiskBytes(const fs::path& native, const std::string& path) {
  std::error_code ec;
  if (!fs::exists(native, ec)) return std::nullopt;
  return ReadInputFile(native, path);
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

// The overlay's name of a file: its native path, normalised; on Windows, which compares names
// regardless of case, in upper case.
static std::string OverlayKey(const fs::path& native) {
  const std::string text = PathText(native.lexically_normal());
#if defined(_WIN32)
  return UpperCase(text);
#else
  return text;
#endif
}

bool Files::FileExists(const std::string& path) const {
  if (path.empty() || !map_.CanResolve(path)) return false;
  const fs::path native = Native(path);
  if (overlay_ != nullptr) {
    if (overlay_->Planned(OverlayKey(native)) != nullptr) return true;
    if (overlay_->Removed(OverlayKey(native))) return false;
  }
  std::error_code ec;
  return fs::is_regular_file(native, ec);
}

bool Files::FolderExists(const std::string& path) const {
  if (path.empty() || !map_.CanResolve(path)) return false;
  return NativeFolderExists(Native(path));
}

bool Files::NativeFolderExists(const fs::path& native) const {
  if (overlay_ != nullptr && overlay_->HasFolder(OverlayKey(native))) return true;
  std::error_code ec;
  return fs::is_directory(native, ec);
}

void Files::KeepOnDisk(const std::string& path) const {
  if (overlay_ != nullptr && map_.CanResolve(path)) overlay_->KeepOnDisk(OverlayKey(Native(path)));
}

FileOverlay* Files::PlanFor(const std::string& path) const {
  if (overlay_ == nullptr || overlay_->OnDisk(OverlayKey(Native(path)))) return nullptr;
  return overlay_;
}

const std::string* Files::PlannedContent(const std::string& path) const {
  if (overlay_ == nullptr) return nullptr;
  const std::string key = OverlayKey(Native(path));
  if (overlay_->Removed(key)) throw PlatformError(kErrFileNotFound, path);
  return overlay_->Planned(key);
}

void Files::PutPlanned(const std::string& path, std::string bytes, bool append) const {
  const fs::path native = Native(path);
  std::optional<FileDigest> digest;
  if (Fingerprinting()) digest = FileDigest{bytes.size(), Sha256Hex(bytes)};
  overlay_->Put(OverlayKey(native), path, std::move(bytes), append,
                [&] { return DiskBytes(native, path); });
  NoteWritten(path, std::move(digest));
}

bool Files::SameFile(const std::string& a, const std::string& b) const {
  if (!map_.CanResolve(a) || !map_.CanResolve(b)) return false;
  std::error_code ec;
  const bool same = fs::equivalent(Native(a), Native(b), ec);
  return !ec && same;
}

void Files::Copy(const std::string& from, const std::string& to) const {
  const fs::path source = Native(from);
  std::error_code ec;
  if (fs::is_directory(source, ec)) throw PlatformError(kErrPathFileAccess, from);
  if (PlannedContent(from) == nullptr) {
    std::FILE* probe = OpenNativeFile(source, "rb");
    if (probe == nullptr) throw ReadOpenError(LastError(), source, from);
    std::fclose(probe);
  }
  AtomicFile file(*this, to);
  const std::optional<FileDigest> digest = file.CopyFrom(from, source);
  if (digest) record_->NoteRead(from, *digest);
  file.Commit();
}

void Files::Remove(const std::string& path) const {
  std::error_code ec;
  const fs::path native = Native(path);
  if (FileOverlay* overlay = PlanFor(path)) {
    if (!FileExists(path)) throw PlatformError(kErrFileNotFound, path);
    overlay->Remove(OverlayKey(native), path, [&] { return DiskBytes(native, path); });
    if (record_ != nullptr) record_->NoteRemoved(path);
    return;
  }
  if (!fs::is_regular_file(native, ec)) throw PlatformError(kErrFileNotFound, path);
  if (!fs::remove(native, ec) || ec) throw FileError(ec ? ec : LastError(), path);
  if (record_ != nullptr) record_->NoteRemoved(path);
}

void Files::CreateFolder(const std::string& path) const {
  std::error_code ec;
  const fs::path native = Native(path);
  fs::path parent = native.parent_path();
  if (native.filename().empty()) parent = parent.parent_path();
  if (!parent.empty() && !NativeFolderExists(parent)) throw PlatformError(kErrPathNotFound, path);
  if (FileOverlay* overlay = PlanFor(path)) {
    if (!fs::is_directory(native, ec)) overlay->AddFolder(OverlayKey(native), path);
    return;
  }
  fs::create_directory(native, ec);
  if (ec) throw FileError(ec, path);
}

void Files::ResetAttributes(const std::string& path) const {
  if (PlanFor(path) != nullptr) return;
  std::error_code ec;
  ClearFileAttributes(Native(path), ec);
  if (ec) throw FileError(ec, path);
}

std::string Files::ReadAll(const std::string& path) const {
  const std::string* planned = PlannedContent(path);
  std::string bytes = planned != nullptr ? *planned : ReadInputFile(Native(path), path);
  if (record_ != nullptr && record_->Awaits(path)) {
    record_->NoteRead(path, {bytes.size(), Sha256Hex(bytes)});
  }
  return bytes;
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

void Files::NoteWritten(const std::string& path, std::optional<FileDigest> digest) const {
  if (record_ != nullptr) record_->NoteWritten(path, std::move(digest));
}

void Files::AppendLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, false);
}

void Files::RewriteLines(const std::string& path, const std::vector<std::string>& lines) const {
  WriteUnderAppendLock(path, lines, true);
}

void Files::WriteUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                                 bool replace) const {
  const WriteLimit limit = PassWritePoint(monitor_, path, WriteStep::kAppend);
  const fs::path native = Native(path);
  if (PlanFor(path) != nullptr) {
    PlanUnderAppendLock(path, lines, replace);
    return;
  }
  const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenForAppend(native, path),
                                                             std::fclose);
  std::FILE* f = file.get();
  if (f == nullptr) throw CreateError(path);
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).append("\r\n");
  // Runs appending at the same time take turns, each writing its lines whole. A file
  // system without locks still gets the lines in one write.
  if (!LockForAppend(f)) throw LastFileError(path);
  std::uint64_t size = 0;
  std::string before;
  // The old content is read, under the lock, before anything is written: a replace puts it
  // back on failure, and a fingerprint of the file as written begins with it.
  const bool fingerprint = Fingerprinting();
  if (!SizeOfFile(f, size) || ((replace || fingerprint) && !ReadHeldFile(f, before))) {
    throw LastFileError(path);
  }
  if (replace && !EmptyLockedFile(f)) throw LastFileError(path);
  // A file edited by hand may lack its last line break: the lines start on their own.
  if (!replace && !EndsInLineBreak(f, size)) bytes.insert(0, "\r\n");
  try {
    // Written by the descriptor, not through stdio's buffer: a write that stops short is
    // seen here, before the lock ends, and taken back.
    std::size_t written = 0;
    const std::size_t allowed = std::min(limit.bytes, bytes.size());
    if (const std::error_code ec = WriteToFile(f, bytes.data(), allowed, written)) {
      throw FileError(ec, path);
    }
    if (allowed < bytes.size()) throw PlatformError(limit.error, path);
    // Flushed while the lock is held: the next run appends after lines that are on the disk.
    PassWritePoint(monitor_, path, WriteStep::kFlush);
    if (const std::error_code ec = FlushToDisk(f)) throw FileError(ec, path);
  } catch (const Error&) {
    PutBack(f, size, replace ? &before : nullptr);
    throw;
  }
  std::optional<FileDigest> digest;
  if (fingerprint) {
    const std::string after = replace ? bytes : before + bytes;
    digest = FileDigest{after.size(), Sha256Hex(after)};
  }
  NoteWritten(path, std::move(digest));
}

void Files::PlanUnderAppendLock(const std::string& path, const std::vector<std::string>& lines,
                                bool replace) const {
  CheckedWriteTarget(Native(path), path, LinkRule::kProtectedLinks);
  if (!NativeFolderExists(Native(path).parent_path())) throw PlatformError(kErrPathNotFound, path);
  std::string bytes;
  for (const std::string& line : lines) bytes.append(line).append("\r\n");
  if (replace) {
    PutPlanned(path, std::move(bytes), false);
    return;
  }
  std::string content;
  if (FileExists(path)) content = ReadAll(path);
  if (!content.empty() && !content.ends_with("\r\n")) content.append("\r\n");
  PutPlanned(path, content + bytes, true);
}

}  // namespace quenda
