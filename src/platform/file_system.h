#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pentrak {

// Ends the hidden name (".name" + this) under which a replacement is written before it takes the
// file's place, and under which a run keeps its spare file.
inline constexpr std::string_view kTemporarySuffix = ".pentrak-new";

// True for such a hidden name (".name" + kTemporarySuffix): a file that is never part of a site,
// left behind only when a run was killed.
bool IsTemporaryName(std::string_view file_name);

// The hidden sibling under which a replacement of path ("/" between folders) is written first.
std::string TemporarySibling(std::string_view path);

// The kinds of file access a test can make fail.
enum class FileOp { kRead, kWrite, kAppend, kCreateFolder, kCopy, kRemove, kAttributes };

// What one look at a path tells: 0 or the errno that made it fail, whether it is a folder or
// something else that is not a regular file (a FIFO, a device, a socket), whether it is read-only
// (none of its write permission bits set), and its last-modified time in whole seconds since the
// epoch.
struct FileStatus {
  int error = 0;
  bool folder = false;
  bool special = false;
  bool read_only = false;
  std::int64_t modified = 0;
  std::uint64_t size = 0;
};

// Every file access of the system goes through this one object. Paths may use "\" or "/";
// on POSIX they are handed to the operating system with "/". Failures throw Error with the
// platform's errno and description. Only regular files are read or replaced: anything else
// (a FIFO, a device) is refused with "<path> is not a regular file", without blocking.
class RecentFolders;

class FileSystem {
 public:
  // Returns an errno to make the operation on that path fail, or 0 to let it run.
  using FaultHook = std::function<int(FileOp op, const std::string& path)>;

  void SetFaultHook(FaultHook hook) { fault_hook_ = std::move(hook); }

  // The whole file as bytes.
  std::string ReadFile(const std::string& path) const;
  // ReadFile, or nothing when the path names no file (missing, or a folder).
  std::optional<std::string> ReadFileIfPresent(const std::string& path) const;
  // ReadFile for files that are never large (settings, definitions): more than max_bytes
  // throws EFBIG instead of filling the memory.
  std::string ReadBoundedFile(const std::string& path, std::size_t max_bytes) const;
  // Hands the file to chunk piece by piece, for files that may be too large to hold whole.
  void ReadChunks(const std::string& path,
                  const std::function<void(std::string_view)>& chunk) const;
  // Every line of the file (split as LineCursor splits).
  std::vector<std::string> ReadLines(const std::string& path) const;
  // The first line only, reading no more of the file than needed; "" for an empty file.
  std::string ReadFirstLine(const std::string& path) const;

  // Replaces the file with exactly these bytes; the target is never left half-written: the
  // bytes go to a hidden sibling temporary file, synced to the disk, that is then renamed over
  // it. A replaced file keeps its permission bits; a new one gets those of any new file. A
  // folder is never replaced. A symbolic link stays: the file it resolves to is replaced,
  // beside itself.
  void WriteFile(const std::string& path, std::string_view bytes) const;
  // WriteFile for a run that replaces many files it can always write again (generated
  // documents): not synced, and the old file is exchanged out of place. spare names a file the call
  // may reuse for the new contents (the old contents of the file replaced before, or "") and
  // receives the one it leaves behind, which the caller removes in the end with RemoveFile.
  // Reusing it spares the file system the creation and deletion of a file per replacement,
  // which ext4 makes slower with every file recently deleted.
  void WriteFileReusing(const std::string& path, std::string_view bytes, std::string& spare) const;
  // Makes the file hold exactly these bytes by rewriting it in place: cheaper than WriteFile
  // when the same scratch file is rewritten many times, but a failure may leave it half-written.
  void OverwriteFile(const std::string& path, std::string_view bytes) const;
  // Replaces the file with these lines, each followed by CR LF (atomically, as WriteFile).
  void WriteLines(const std::string& path, const std::vector<std::string>& lines) const;
  // Appends one line and CR LF to an existing file; a missing file is an error.
  void AppendLine(const std::string& path, std::string_view line) const;
  // Appends bytes to an existing file; a missing file is an error.
  void AppendBytes(const std::string& path, std::string_view bytes) const;

  bool FileExists(const std::string& path) const;
  bool FolderExists(const std::string& path) const;
  void CreateFolder(const std::string& path) const;
  // For each separator from the left, creates the folder up to it when missing; the part after
  // the last separator is never created.
  void CreateFolderPath(const std::string& path) const;
  // Copies a file, replacing the target.
  void CopyFile(const std::string& from, const std::string& to) const;
  void RemoveFile(const std::string& path) const;
  // Removes a folder that holds nothing; false (and nothing removed) otherwise.
  bool RemoveEmptyFolder(const std::string& path) const;
  void RenameFile(const std::string& from, const std::string& to) const;
  // Removes the hidden temporary files a killed run left in the folder: regular files named
  // ".NAME" + kTemporarySuffix, never links or anything else. A folder that cannot be read is
  // left alone.
  void RemoveLeftovers(const std::string& folder) const;
  // Every file below a folder, as paths relative to it with "/" separators, sorted; throws when
  // the folder cannot be read.
  std::vector<std::string> FilesBelow(const std::string& folder) const;
  // Makes everything written to the file system that holds the folder reach the disk, so that
  // many unsynced writes cost one wait; throws when the folder cannot be opened.
  void SyncFileSystemOf(const std::string& folder) const;
  // True when the folder exists and this process may create files in it.
  bool CanWriteInFolder(const std::string& folder) const;
  // Compares two files byte for byte; throws when either cannot be read.
  bool FilesIdentical(const std::string& a, const std::string& b) const;

  // Existence and time stamp in one look; never throws.
  FileStatus Status(const std::string& path) const;
  // Status through the handle of the file's folder when it is among the recent ones.
  FileStatus Status(const std::string& path, RecentFolders& folders) const;
  // Last-modified time in whole seconds since the epoch.
  std::int64_t LastModified(const std::string& path) const;
  void SetLastModified(const std::string& path, std::int64_t seconds) const;
  // True when the file exists and none of its write permission bits is set.
  bool IsReadOnly(const std::string& path) const;
  void SetReadOnly(const std::string& path, bool read_only) const;

 private:
  friend class AppendFile;   // a file held open for appending obeys the same fault hook
  friend class ScratchFile;  // so does a scratch file held open for rewriting

  // Opens a scratch file for rewriting in place, creating it when missing; size receives what
  // it holds. Returns the descriptor.
  int OpenScratch(const std::string& path, std::size_t& size) const;

  void CheckFault(FileOp op, const std::string& path) const;
  // The replacement behind WriteFile (spare null: synced, renamed) and WriteFileReusing.
  void ReplaceFile(const std::string& path, std::string_view bytes, std::string* spare) const;

  FaultHook fault_hook_;
};

}  // namespace pentrak
