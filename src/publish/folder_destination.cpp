#include "publish/folder_destination.h"

#include <cerrno>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "publish/content_hash.h"

namespace pentrak {

namespace {

// The reason a file could not be written, in the words of a publish failure.
std::string WriteFailureReason(const Error& error, const std::string& target) {
  switch (error.number()) {
    case EACCES:
    case EPERM:
    case EROFS:
      return "permission denied on the folder " + FolderOfPath(target) + ".";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return "the disk is full (writing " + target + ").";
    default:
      return "could not write " + target + ": " + error.description() + ".";
  }
}

}  // namespace

FolderDestination::FolderDestination(const FileSystem& fs, const std::string& folder)
    : fs_(fs), folder_(folder), root_(NativePath(folder)) {
  while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  if (fs_.FolderExists(root_)) {
    root_ += '/';
    return;
  }
  if (fs_.FileExists(root_)) Fail("it is a file, not a folder.");
  if (!fs_.FolderExists(FolderOfPath(root_))) {
    Fail("the folder does not exist, nor does the folder that would hold it.");
  }
  try {
    fs_.CreateFolder(root_);
  } catch (const Error& error) {
    Fail(WriteFailureReason(error, root_));
  }
  root_ += '/';
}

void FolderDestination::Fail(const std::string& reason) const {
  throw PublishFailure(folder_, reason);
}

std::string FolderDestination::PathOf(const std::string& path) const { return root_ + path; }

std::vector<RemoteFile> FolderDestination::ListFiles() {
  std::vector<RemoteFile> files;
  try {
    for (std::string& path : fs_.FilesBelow(root_)) {
      FileStatus status = fs_.Status(PathOf(path));
      files.push_back({std::move(path), status.size});
    }
  } catch (const Error& error) {
    Fail("its files cannot be listed: " + error.description() + ".");
  }
  return files;
}

std::string FolderDestination::HashFile(const std::string& path) {
  try {
    std::uint64_t size = 0;
    return FileContentHash(fs_, PathOf(path), size);
  } catch (const Error& error) {
    Fail("could not read " + PathOf(path) + ": " + error.description() + ".");
  }
}

bool FolderDestination::PutFile(const std::string& path, const std::string& local_path,
                                const TransferHooks& hooks) {
  if (hooks.stop && hooks.stop()) return false;
  std::string bytes;
  try {
    bytes = fs_.ReadFile(local_path);
  } catch (const Error& error) {
    Fail("could not read " + local_path + ": " + error.description() + ".");
  }
  const std::string target = PathOf(path);
  std::string spare;  // the old contents, once exchanged out of place
  try {
    try {
      fs_.WriteFileReusing(target, bytes, spare);
    } catch (const Error& error) {
      if (error.number() != ENOENT) throw;
      fs_.CreateFolderPath(target);
      fs_.WriteFileReusing(target, bytes, spare);
    }
  } catch (const Error& error) {
    Fail(WriteFailureReason(error, target));
  }
  // The exchange leaves the old contents under the hidden name: no file of the site.
  if (!spare.empty()) {
    try {
      fs_.RemoveFile(spare);
    } catch (const Error&) {
      // A leftover the next publish that lists the folder removes.
    }
  }
  if (hooks.sent) hooks.sent(bytes.size());
  return true;
}

void FolderDestination::RemoveFile(const std::string& path) {
  try {
    fs_.RemoveFile(PathOf(path));
  } catch (const Error& error) {
    if (error.number() == ENOENT) return;
    Fail(WriteFailureReason(error, PathOf(path)));
  }
}

void FolderDestination::Flush() {
  try {
    fs_.SyncFileSystemOf(root_);
  } catch (const Error& error) {
    Fail("its files could not be made durable: " + error.description() + ".");
  }
}

void FolderDestination::RemoveFolderIfEmpty(const std::string& path) {
  fs_.RemoveEmptyFolder(PathOf(path));
}

}  // namespace pentrak
