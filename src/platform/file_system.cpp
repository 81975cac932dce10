#include "platform/file_system.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/error.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

// Owns a POSIX file descriptor for the length of one operation.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int Release() {
    int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_;
};

[[noreturn]] void ThrowErrno() { throw SystemError(errno); }

Descriptor OpenOrThrow(const std::string& native, int flags, mode_t mode = 0666) {
  int fd;
  do {
    fd = ::open(native.c_str(), flags | O_CLOEXEC, mode);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) ThrowErrno();
  return Descriptor(fd);
}

void WriteAll(int fd, std::string_view bytes) {
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    ssize_t n = ::write(fd, data, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowErrno();
    }
    data += n;
    left -= static_cast<std::size_t>(n);
  }
}

// Appends the next bytes read to text; false at the end of the file.
template <std::size_t kSize>
bool ReadMore(int fd, std::string& text, char (&buffer)[kSize]) {
  ssize_t n;
  do {
    n = ::read(fd, buffer, kSize);
  } while (n < 0 && errno == EINTR);
  if (n < 0) ThrowErrno();
  text.append(buffer, static_cast<std::size_t>(n));
  return n > 0;
}

std::string ReadAll(int fd) {
  std::string result;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    errno = EISDIR;
    ThrowErrno();
  }
  // A regular file is read straight into the result in one call: asking for one byte more than
  // its size lets a short read tell that the end was reached.
  std::size_t used = 0;
  result.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 65536);
  for (;;) {
    if (used == result.size()) result.resize(result.size() * 2);
    ssize_t n;
    do {
      n = ::read(fd, result.data() + used, result.size() - used);
    } while (n < 0 && errno == EINTR);
    if (n < 0) ThrowErrno();
    used += static_cast<std::size_t>(n);
    if (n == 0 || (S_ISREG(st.st_mode) && used < result.size())) break;
  }
  result.resize(used);
  return result;
}

// Swaps a finished temporary file with an existing target, so that the temporary name then
// holds the old contents. The target is replaced as atomically as by rename, but a rename over
// an existing file makes ext4 flush the new file at once, which stalls a run writing many
// documents. False when the target does not exist or the file system cannot exchange.
bool ExchangeFiles(const std::string& temporary, const std::string& target) {
#ifdef RENAME_EXCHANGE
  return ::renameat2(AT_FDCWD, temporary.c_str(), AT_FDCWD, target.c_str(), RENAME_EXCHANGE) == 0;
#else
  (void)temporary;
  (void)target;
  return false;
#endif
}

// Opens the temporary file for a replacement: the spare moved to its name when it is a plain
// file with no other name (writing into a shared file would change the other name's contents),
// else a new file. The spare is used up either way.
Descriptor OpenTemporary(const std::string& temporary, std::string& spare) {
  if (!spare.empty()) {
    std::string moved = std::move(spare);
    spare.clear();
    if (::rename(moved.c_str(), temporary.c_str()) != 0) {
      ::unlink(moved.c_str());
    } else {
      int fd = ::open(temporary.c_str(), O_WRONLY | O_CLOEXEC);
      struct stat st {};
      if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1) {
        return Descriptor(fd);
      }
      if (fd >= 0) ::close(fd);
      ::unlink(temporary.c_str());
    }
  }
  return OpenOrThrow(temporary, O_WRONLY | O_CREAT | O_TRUNC);
}

// Removes the spare, for a call that will not reuse it.
void DropSpare(std::string& spare) {
  if (spare.empty()) return;
  ::unlink(spare.c_str());
  spare.clear();
}

// Gives the open file the permission bits of the file it is about to replace. Files on a file
// system without permissions all show the same mode, so nothing is changed there.
void MatchPermissions(int fd, mode_t target_mode) {
  struct stat st {};
  if (::fstat(fd, &st) != 0) ThrowErrno();
  const mode_t wanted = target_mode & 07777;
  if ((st.st_mode & 07777) != wanted && ::fchmod(fd, wanted) != 0) ThrowErrno();
}

// Writes bytes from the start of the file and cuts off whatever an earlier content left behind.
void WriteWhole(int fd, std::string_view bytes) {
  WriteAll(fd, bytes);
  if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) ThrowErrno();
}

struct stat StatOrThrow(const std::string& native) {
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) ThrowErrno();
  return st;
}

}  // namespace

void FileSystem::CheckFault(FileOp op, const std::string& path) const {
  if (!fault_hook_) return;
  int error_number = fault_hook_(op, path);
  if (error_number != 0) throw SystemError(error_number);
}

std::string FileSystem::ReadFile(const std::string& path) const {
  CheckFault(FileOp::kRead, path);
  Descriptor fd = OpenOrThrow(NativePath(path), O_RDONLY);
  return ReadAll(fd.get());
}

std::vector<std::string> FileSystem::ReadLines(const std::string& path) const {
  std::string text = ReadFile(path);
  std::vector<std::string> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) lines.emplace_back(line);
  return lines;
}

std::string FileSystem::ReadFirstLine(const std::string& path) const {
  CheckFault(FileOp::kRead, path);
  Descriptor fd = OpenOrThrow(NativePath(path), O_RDONLY);
  std::string text;
  char buffer[4096];
  while (text.find('\n') == std::string::npos && ReadMore(fd.get(), text, buffer)) {
  }
  LineCursor cursor(text);
  std::string_view line;
  if (!cursor.Next(line)) return "";
  return std::string(line);
}

void FileSystem::WriteFile(const std::string& path, std::string_view bytes) const {
  ReplaceFile(path, bytes, nullptr);
}

void FileSystem::WriteFileReusing(const std::string& path, std::string_view bytes,
                                  std::string& spare) const {
  ReplaceFile(path, bytes, &spare);
}

void FileSystem::ReplaceFile(const std::string& path, std::string_view bytes,
                             std::string* spare) const {
  CheckFault(FileOp::kWrite, path);
  std::string native = NativePath(path);
  std::string temporary = native + ".pentrak-new";
  struct stat target {};
  const bool replacing = ::stat(native.c_str(), &target) == 0;
  // The exchange would swap a folder out of the way instead of failing as a rename does.
  if (replacing && S_ISDIR(target.st_mode)) throw SystemError(EISDIR);
  std::string no_spare;
  std::string& reusable = spare != nullptr ? *spare : no_spare;
  // A spare carries the permissions of the file it held; a new file gets the usual ones only
  // when it is created afresh.
  if (!replacing) DropSpare(reusable);
  {
    Descriptor fd = OpenTemporary(temporary, reusable);
    try {
      if (replacing) MatchPermissions(fd.get(), target.st_mode);
      WriteWhole(fd.get(), bytes);
      // A file only this call can rebuild (settings, a source rewritten by replace) reaches the
      // disk before its name moves, so a power cut leaves the old contents or the new, never an
      // empty file. Generated documents skip this: a run can always write them again.
      if (spare == nullptr && ::fsync(fd.get()) != 0) ThrowErrno();
    } catch (...) {
      ::unlink(temporary.c_str());
      throw;
    }
    if (::close(fd.Release()) != 0) {
      int saved = errno;
      ::unlink(temporary.c_str());
      throw SystemError(saved);
    }
  }
  if (spare != nullptr && ExchangeFiles(temporary, native)) {
    *spare = temporary;
    return;
  }
  if (::rename(temporary.c_str(), native.c_str()) != 0) {
    int saved = errno;
    ::unlink(temporary.c_str());
    throw SystemError(saved);
  }
}

void FileSystem::OverwriteFile(const std::string& path, std::string_view bytes) const {
  CheckFault(FileOp::kWrite, path);
  // No O_TRUNC and no new file: reusing the inode and never passing through length 0 spares the
  // file system the allocation and early flush that replacing a file costs.
  Descriptor fd = OpenOrThrow(NativePath(path), O_WRONLY | O_CREAT);
  WriteWhole(fd.get(), bytes);
  if (::close(fd.Release()) != 0) ThrowErrno();
}

void FileSystem::WriteLines(const std::string& path, const std::vector<std::string>& lines) const {
  std::size_t size = 0;
  for (const std::string& line : lines) size += line.size() + 2;
  std::string bytes;
  bytes.reserve(size);
  for (const std::string& line : lines) pentrak::AppendLine(bytes, line);
  WriteFile(path, bytes);
}

void FileSystem::AppendLine(const std::string& path, std::string_view line) const {
  std::string bytes;
  bytes.reserve(line.size() + 2);
  pentrak::AppendLine(bytes, line);
  AppendBytes(path, bytes);
}

void FileSystem::AppendBytes(const std::string& path, std::string_view bytes) const {
  CheckFault(FileOp::kAppend, path);
  Descriptor fd = OpenOrThrow(NativePath(path), O_WRONLY | O_APPEND);
  WriteAll(fd.get(), bytes);
}

bool FileSystem::FileExists(const std::string& path) const {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FileSystem::FolderExists(const std::string& path) const {
  if (path.empty()) return false;
  struct stat st {};
  return ::stat(NativePath(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void FileSystem::CreateFolder(const std::string& path) const {
  CheckFault(FileOp::kCreateFolder, path);
  if (::mkdir(NativePath(path).c_str(), 0777) != 0) ThrowErrno();
}

void FileSystem::CreateFolderPath(const std::string& path) const {
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (!IsSeparator(path[i]) || i == 0) continue;
    std::string folder = path.substr(0, i + 1);
    if (!FolderExists(folder)) CreateFolder(folder);
  }
}

void FileSystem::CopyFile(const std::string& from, const std::string& to) const {
  CheckFault(FileOp::kCopy, to);
  std::string bytes = ReadFile(from);
  WriteFile(to, bytes);
}

void FileSystem::RemoveFile(const std::string& path) const {
  CheckFault(FileOp::kRemove, path);
  if (::unlink(NativePath(path).c_str()) != 0) ThrowErrno();
}

void FileSystem::RenameFile(const std::string& from, const std::string& to) const {
  CheckFault(FileOp::kWrite, to);
  if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) ThrowErrno();
}

std::vector<std::string> FileSystem::FilesBelow(const std::string& folder) const {
  CheckFault(FileOp::kRead, folder);
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path root(NativePath(folder));
  fs::recursive_directory_iterator it(root, ec);
  if (ec) throw SystemError(ec.value());
  std::vector<std::string> files;
  for (const fs::recursive_directory_iterator end; it != end; it.increment(ec)) {
    if (ec) throw SystemError(ec.value());
    if (it->is_regular_file(ec))
      files.push_back(it->path().lexically_relative(root).generic_string());
  }
  if (ec) throw SystemError(ec.value());
  std::sort(files.begin(), files.end());
  return files;
}

bool FileSystem::CanWriteInFolder(const std::string& folder) const {
  return FolderExists(folder) && ::access(NativePath(folder).c_str(), W_OK | X_OK) == 0;
}

bool FileSystem::FilesIdentical(const std::string& a, const std::string& b) const {
  std::string native_a = NativePath(a);
  std::string native_b = NativePath(b);
  struct stat st_a = StatOrThrow(native_a);
  struct stat st_b = StatOrThrow(native_b);
  if (st_a.st_size != st_b.st_size) return false;
  return ReadFile(a) == ReadFile(b);
}

FileStatus FileSystem::Status(const std::string& path) const {
  FileStatus status;
  try {
    CheckFault(FileOp::kAttributes, path);
    struct stat st = StatOrThrow(NativePath(path));
    status.folder = S_ISDIR(st.st_mode);
    status.modified = static_cast<std::int64_t>(st.st_mtime);
  } catch (const Error& error) {
    status.error = error.number();
  }
  return status;
}

std::int64_t FileSystem::LastModified(const std::string& path) const {
  CheckFault(FileOp::kAttributes, path);
  return static_cast<std::int64_t>(StatOrThrow(NativePath(path)).st_mtime);
}

void FileSystem::SetLastModified(const std::string& path, std::int64_t seconds) const {
  CheckFault(FileOp::kAttributes, path);
  struct timespec times[2];
  times[0].tv_sec = static_cast<time_t>(seconds);
  times[0].tv_nsec = 0;
  times[1] = times[0];
  if (::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) != 0) ThrowErrno();
}

bool FileSystem::IsReadOnly(const std::string& path) const {
  struct stat st {};
  if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void FileSystem::SetReadOnly(const std::string& path, bool read_only) const {
  CheckFault(FileOp::kAttributes, path);
  std::string native = NativePath(path);
  struct stat st = StatOrThrow(native);
  mode_t mode = st.st_mode & 07777;
  mode = read_only ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  if (::chmod(native.c_str(), mode) != 0) ThrowErrno();
}

}  // namespace pentrak
