#pragma once

#include <memory>
#include <string>

#include "publish/destination.h"

namespace pentrak {

class FileSystem;

// A local folder as the destination: a mounted share, a checkout of a pages repository. Files
// are replaced through a hidden sibling put in their place, as generated documents are: not
// synced one by one, which would cost a disk wait per file, but all at once by Flush.
class FolderDestination : public Destination, private DestinationLink {
 public:
  // Opens the folder, creating it when only its last part is missing (a missing parent is more
  // likely an unmounted share than a folder to make). Throws PublishError.
  FolderDestination(const FileSystem& fs, const std::string& folder);

  std::vector<RemoteFile> ListFiles() override;
  std::string HashFile(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
  void RemoveFolderIfEmpty(const std::string& path) override;
  void Flush() override;
  DestinationLink& MainLink() override { return *this; }
  // One disk gains nothing from writing several files at once.
  int ExtraLinksWorthOpening(std::size_t) const override { return 0; }
  std::unique_ptr<DestinationLink> OpenLink() override { return nullptr; }

 private:
  bool PutFile(const std::string& path, const std::string& local_path,
               const TransferHooks& hooks) override;
  std::string PathOf(const std::string& path) const;
  [[noreturn]] void Fail(const std::string& reason) const;

  const FileSystem& fs_;
  std::string folder_;  // as given, for messages
  std::string root_;    // the folder with a final "/"
};

}  // namespace pentrak
