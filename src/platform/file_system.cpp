#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "platform/descriptor.h"
#include "platform/error.h"
#include "platform/paths.h"
#include "platform/recent_folders.h"
#include "platform/scratch_file.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

[[noreturn]] void ThrowErrno() { throw SystemError(errno); }

// Links followed before a path counts as a loop, as the kernel counts them.
constexpr int kMaxLinks = 40;

// A FIFO or device would block the run or never end; only regular files are read or replaced.
[[noreturn]] void ThrowNotRegular(const std::string& path) {
  throw Error(EINVAL, path + " is not a regular file");
}

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

// Reads up to size bytes into data, resuming after a signal; 0 at the end of the file.
std::size_t ReadSome(int fd, char* data, std::size_t size) {
  ssize_t n;
  do {
    n = ::read(fd, data, size);
  } while (n < 0 && errno == EINTR);
  if (n < 0) ThrowErrno();
  return static_cast<std::size_t>(n);
}

// Appends the next bytes read to text; false at the end of the file.
template <std::size_t kSize>
bool ReadMore(int fd, std::string& text, char (&buffer)[kSize]) {
  std::size_t n = ReadSome(fd, buffer, kSize);
  text.append(buffer, n);
  return n > 0;
}

// Runs an operation whose failure no caller words: the error names the operation and the path.
template <typename Operation>
void Named(std::string_view operation, const std::string& path, Operation operation_body) {
  try {
    operation_body();
  } catch (const Error& error) {
    throw FileError(error, operation, path);
  }
}

[[noreturn]] void ThrowTooLarge(std::size_t max_bytes) {
  throw Error(EFBIG, "The file is larger than " + std::to_string(max_bytes >> 20) +
                         " MiB, more than a file of this kind ever holds");
}

// Opens a file for reading without blocking on a FIFO, and refuses anything but a regular file.
// st receives its status.
Descriptor OpenForReading(const std::string& path, struct stat& st) {
  Descriptor fd = OpenOrThrow(NativePath(path), O_RDONLY | O_NONBLOCK);
  if (::fstat(fd.get(), &st) != 0) ThrowErrno();
  if (S_ISDIR(st.st_mode)) throw SystemError(EISDIR);
  if (!S_ISREG(st.st_mode)) ThrowNotRegular(path);
  return fd;
}

// The rest of the file; more than max_bytes throws EFBIG. A regular file is read straight into
// the result in one call: asking for one byte more than its size lets a short read tell that the
// end was reached. A file that grows while it is read is followed up to the bound.
std::string ReadAll(int fd, const struct stat& st, std::size_t max_bytes) {
  if (st.st_size > 0 && static_cast<std::uint64_t>(st.st_size) > max_bytes) {
    ThrowTooLarge(max_bytes);
  }
  std::string result;
  std::size_t used = 0;
  result.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) + 1 : 65536);
  for (;;) {
    if (used == result.size()) {
      if (used > max_bytes) ThrowTooLarge(max_bytes);
      result.resize(result.size() * 2);
    }
    std::size_t n = ReadSome(fd, result.data() + used, result.size() - used);
    used += n;
    if (n == 0 || used < result.size()) break;
  }
  if (used > max_bytes) ThrowTooLarge(max_bytes);
  result.resize(used);
  return result;
}

// The file a path names after following its symbolic links, so that a replacement lands beside
// the real file and the link stays a link. A dangling link gives the path it points to. found
// receives the status of the file reached, whether it exists, so that no second look is needed.
std::string ResolveLinks(const std::string& native, struct stat& found, bool& exists) {
  std::string current = native;
  for (int i = 0; i < kMaxLinks; ++i) {
    exists = ::lstat(current.c_str(), &found) == 0;
    if (!exists || !S_ISLNK(found.st_mode)) return current;
    std::string target(static_cast<std::size_t>(found.st_size > 0 ? found.st_size : 4096) + 1,
                       '\0');
    ssize_t n = ::readlink(current.c_str(), target.data(), target.size());
    if (n < 0) ThrowErrno();
    target.resize(static_cast<std::size_t>(n));
    if (target.empty() || target[0] != '/') {
      std::size_t slash = current.rfind('/');
      target.insert(0, slash == std::string::npos ? std::string() : current.substr(0, slash + 1));
    }
    current = std::move(target);
  }
  throw SystemError(ELOOP);
}

// Creates a temporary file that is never a link to something else: a leftover of a killed run
// under the same name is removed first (unlinking a link leaves its target alone).
Descriptor CreateTemporary(const std::string& temporary) {
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
  int fd = ::open(temporary.c_str(), flags | O_CLOEXEC, 0666);
  if (fd < 0 && errno == EEXIST) {
    if (::unlink(temporary.c_str()) != 0) ThrowErrno();
    return OpenOrThrow(temporary, flags);
  }
  if (fd < 0) ThrowErrno();
  return Descriptor(fd);
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

// The folder part of a native path, "/" included; "" for a bare name.
std::string_view FolderPart(std::string_view native) {
  std::size_t slash = native.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : native.substr(0, slash + 1);
}

// Opens the spare for writing when it is still a plain file with no other name (writing into a
// link or a shared file would change what the other name shows); -1 otherwise. st receives its
// status.
int OpenSpare(const std::string& spare, struct stat& st) {
  int fd = ::open(spare.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink == 1) return fd;
  if (fd >= 0) ::close(fd);
  ::unlink(spare.c_str());
  return -1;
}

// Opens the temporary file for a replacement and sets temporary to its name: the spare, when it
// is a plain file (moved to the replacement's own hidden name when it lies in another folder),
// else a new file. The spare is used up either way. st receives the status of a reused spare;
// its st_nlink is 0 for a new file.
Descriptor OpenTemporary(std::string& temporary, std::string& spare, struct stat& st) {
  st.st_nlink = 0;
  if (!spare.empty()) {
    std::string moved = std::move(spare);
    spare.clear();
    // Within one folder the spare is written under the name it has: a killed run leaves it
    // there, where the next run's sweep of the folder finds it, and the rename is spared.
    if (FolderPart(moved) == FolderPart(temporary)) {
      int fd = OpenSpare(moved, st);
      if (fd >= 0) {
        temporary = std::move(moved);
        return Descriptor(fd);
      }
    } else if (::rename(moved.c_str(), temporary.c_str()) == 0) {
      int fd = OpenSpare(temporary, st);
      if (fd >= 0) return Descriptor(fd);
    } else {
      ::unlink(moved.c_str());
    }
  }
  st.st_nlink = 0;
  return CreateTemporary(temporary);
}

// Removes the spare, for a call that will not reuse it.
void DropSpare(std::string& spare) {
  if (spare.empty()) return;
  ::unlink(spare.c_str());
  spare.clear();
}

// Gives the open file the permission bits of the file it is about to replace. Files on a file
// system without permissions all show the same mode, so nothing is changed there. st is the
// open file's status when known (st_nlink not 0).
void MatchPermissions(int fd, struct stat st, mode_t target_mode) {
  if (st.st_nlink == 0 && ::fstat(fd, &st) != 0) ThrowErrno();
  const mode_t wanted = target_mode & 07777;
  if ((st.st_mode & 07777) != wanted && ::fchmod(fd, wanted) != 0) ThrowErrno();
}

// Writes bytes from the start of the file and cuts off whatever an earlier content left behind;
// held is what the file is known to hold (-1: unknown), which spares the cut when it is no more.
void WriteWhole(int fd, std::string_view bytes, off_t held) {
  WriteAll(fd, bytes);
  const auto size = static_cast<off_t>(bytes.size());
  if ((held < 0 || held > size) && ::ftruncate(fd, size) != 0) ThrowErrno();
}

void StatusOf(const struct stat& st, FileStatus& status) {
  status.folder = S_ISDIR(st.st_mode);
  status.read_only = (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
  status.special = !status.folder && !S_ISREG(st.st_mode);
  status.modified = static_cast<std::int64_t>(st.st_mtime);
  status.size = st.st_size > 0 ? static_cast<std::uint64_t>(st.st_size) : 0;
}

struct stat StatOrThrow(const std::string& native) {
  struct stat st {};
  if (::stat(native.c_str(), &st) != 0) ThrowErrno();
  return st;
}

}  // namespace

std::string TemporarySibling(std::string_view path) {
  std::size_t slash = path.rfind('/');
  std::size_t name = slash == std::string_view::npos ? 0 : slash + 1;
  std::string sibling(path.substr(0, name));
  sibling += '.';
  sibling += path.substr(name);
  sibling += kTemporarySuffix;
  return sibling;
}

bool IsTemporaryName(std::string_view name) {
  return name.size() > kTemporarySuffix.size() + 1 && name[0] == '.' &&
         name.ends_with(kTemporarySuffix);
}

void FileSystem::CheckFault(FileOp op, const std::string& path) const {
  if (!fault_hook_) return;
  int error_number = fault_hook_(op, path);
  if (error_number != 0) throw SystemError(error_number);
}

std::string FileSystem::ReadFile(const std::string& path) const {
  return ReadBoundedFile(path, static_cast<std::size_t>(-1));
}

std::optional<std::string> FileSystem::ReadFileIfPresent(const std::string& path) const {
  try {
    return ReadFile(path);
  } catch (const Error& error) {
    const int number = error.number();
    if (number == ENOENT || number == ENOTDIR || number == EISDIR) return std::nullopt;
    throw;
  }
}

std::string FileSystem::ReadBoundedFile(const std::string& path, std::size_t max_bytes) const {
  CheckFault(FileOp::kRead, path);
  struct stat st {};
  Descriptor fd = OpenForReading(path, st);
  return ReadAll(fd.get(), st, max_bytes);
}

void FileSystem::ReadChunks(const std::string& path,
                            const std::function<void(std::string_view)>& chunk) const {
  CheckFault(FileOp::kRead, path);
  struct stat st {};
  Descriptor fd = OpenForReading(path, st);
  std::string buffer(std::size_t{256} << 10, '\0');
  while (std::size_t n = ReadSome(fd.get(), buffer.data(), buffer.size())) {
    chunk(std::string_view(buffer.data(), n));
  }
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
  struct stat st {};
  Descriptor fd = OpenForReading(path, st);
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
  const std::string link = NativePath(path);
  struct stat target {};
  bool replacing = false;
  const std::string native = ResolveLinks(link, target, replacing);
  // Through a link the file replaced is the link's target, with a plain rename: the spare
  // and the exchange would leave the target's old contents beside it, outside our folders.
  const bool through_link = native != link;
  std::string temporary = TemporarySibling(native);
  // The exchange would swap a folder out of the way instead of failing as a rename does.
  if (replacing && S_ISDIR(target.st_mode)) throw SystemError(EISDIR);
  if (replacing && !S_ISREG(target.st_mode)) ThrowNotRegular(path);
  std::string no_spare;
  std::string& reusable = spare != nullptr && !through_link ? *spare : no_spare;
  // A spare carries the permissions of the file it held; a new file gets the usual ones only
  // when it is created afresh.
  if (!replacing) DropSpare(reusable);
  {
    struct stat opened {};
    Descriptor fd = OpenTemporary(temporary, reusable, opened);
    try {
      if (replacing) MatchPermissions(fd.get(), opened, target.st_mode);
      // A new file holds nothing; a reused spare what its status says.
      WriteWhole(fd.get(), bytes, opened.st_nlink == 0 ? 0 : opened.st_size);
      // A file only this call can rebuild (settings, a source rewritten by replace) reaches the
      // disk before its name moves, so a power cut leaves the old contents or the new, never an
      // empty file. Generated documents skip this: a run can always write them again.
      if (spare == nullptr && ::fsync(fd.get()) != 0) ThrowErrno();
      // The hook's chance to fail a write half-way, as a full disk does.
      CheckFault(FileOp::kWrite, temporary);
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
  if (spare != nullptr && !through_link && ExchangeFiles(temporary, native)) {
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
  ScratchFile file;
  file.Rewrite(*this, path, bytes);
  file.Finish();
}

int FileSystem::OpenScratch(const std::string& path, std::size_t& size) const {
  // No O_TRUNC and no new file: reusing the inode and never passing through length 0 spares the
  // file system the allocation and early flush that replacing a file costs. A work file is ours
  // alone: one that became a link or a FIFO is replaced, never written through.
  const std::string native = NativePath(path);
  int fd_number =
      ::open(native.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
  struct stat st {};
  if (fd_number >= 0 && (::fstat(fd_number, &st) != 0 || !S_ISREG(st.st_mode))) {
    ::close(fd_number);
    fd_number = -1;
    errno = ELOOP;
  }
  size = fd_number >= 0 ? static_cast<std::size_t>(st.st_size) : 0;
  if (fd_number < 0 && (errno == ELOOP || errno == ENXIO)) {
    if (::unlink(native.c_str()) != 0) ThrowErrno();
    fd_number = CreateTemporary(native).Release();
  }
  if (fd_number < 0) ThrowErrno();
  return fd_number;
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
  Descriptor fd = OpenOrThrow(NativePath(path), O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK);
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
  Named("Error creating folder ", path, [&] {
    CheckFault(FileOp::kCreateFolder, path);
    if (::mkdir(NativePath(path).c_str(), 0777) != 0) ThrowErrno();
  });
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
  Named("Error removing file ", path, [&] {
    CheckFault(FileOp::kRemove, path);
    if (::unlink(NativePath(path).c_str()) != 0) ThrowErrno();
  });
}

bool FileSystem::RemoveEmptyFolder(const std::string& path) const {
  try {
    CheckFault(FileOp::kRemove, path);
  } catch (const Error&) {
    return false;
  }
  return ::rmdir(NativePath(path).c_str()) == 0;
}

void FileSystem::RenameFile(const std::string& from, const std::string& to) const {
  Named("Error renaming file ", from + " to " + to, [&] {
    CheckFault(FileOp::kWrite, to);
    if (::rename(NativePath(from).c_str(), NativePath(to).c_str()) != 0) ThrowErrno();
  });
}

void FileSystem::RemoveLeftovers(const std::string& folder) const {
  // Read with the plain calls: a run sweeps every folder it visits, and most names are told
  // apart by their first byte without a copy or a look at the file.
  const int folder_fd = ::open(NativePath(folder).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder_fd < 0) return;
  DIR* entries = ::fdopendir(folder_fd);
  if (entries == nullptr) {
    ::close(folder_fd);
    return;
  }
  while (const dirent* entry = ::readdir(entries)) {
    const std::string_view name = entry->d_name;
    if (!IsTemporaryName(name)) continue;
    struct stat st {};
    if (::fstatat(folder_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode)) {
      ::unlinkat(folder_fd, entry->d_name, 0);
    }
  }
  ::closedir(entries);
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

void FileSystem::SyncFileSystemOf(const std::string& folder) const {
  Descriptor fd = OpenOrThrow(NativePath(folder), O_RDONLY | O_DIRECTORY);
  if (::syncfs(fd.get()) != 0) ThrowErrno();
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
    StatusOf(StatOrThrow(NativePath(path)), status);
  } catch (const Error& error) {
    status.error = error.number();
  }
  return status;
}

FileStatus FileSystem::Status(const std::string& path, RecentFolders& folders) const {
  FileStatus status;
  try {
    CheckFault(FileOp::kAttributes, path);
    // Most paths need no conversion, and this runs for every source of every document.
    const bool converted = path.find('\\') != std::string::npos;
    const std::string converted_path = converted ? NativePath(path) : std::string();
    const std::string& native = converted ? converted_path : path;
    const std::size_t slash = native.rfind('/');
    const int folder = slash == std::string::npos || slash + 1 == native.size()
                           ? -1
                           : folders.HandleFor(std::string_view(native).substr(0, slash + 1));
    struct stat st {};
    if (folder < 0) {
      st = StatOrThrow(native);
    } else if (::fstatat(folder, native.c_str() + slash + 1, &st, 0) != 0) {
      ThrowErrno();
    }
    StatusOf(st, status);
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
  Named("Error setting the last-modified time of ", path, [&] {
    CheckFault(FileOp::kAttributes, path);
    struct timespec times[2];
    times[0].tv_sec = static_cast<time_t>(seconds);
    times[0].tv_nsec = 0;
    times[1] = times[0];
    if (::utimensat(AT_FDCWD, NativePath(path).c_str(), times, 0) != 0) ThrowErrno();
  });
}

bool FileSystem::IsReadOnly(const std::string& path) const {
  struct stat st {};
  if (path.empty() || ::stat(NativePath(path).c_str(), &st) != 0) return false;
  return (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

void FileSystem::SetReadOnly(const std::string& path, bool read_only) const {
  Named("Error changing the permissions of ", path, [&] {
    CheckFault(FileOp::kAttributes, path);
    std::string native = NativePath(path);
    struct stat st = StatOrThrow(native);
    mode_t mode = st.st_mode & 07777;
    mode =
        read_only ? (mode & ~static_cast<mode_t>(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
    if (::chmod(native.c_str(), mode) != 0) ThrowErrno();
  });
}

}  // namespace pentrak
