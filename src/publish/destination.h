#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "publish/publish_plan.h"

namespace pentrak {

// A publish that cannot go on; what() is the one sentence shown to the user, naming the
// destination.
class PublishError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What a transfer reports while it writes one file, and asks between its pieces.
struct TransferHooks {
  std::function<void(std::uint64_t bytes)> sent;  // told of every piece written
  std::function<bool()> stop;                     // true abandons the file
};

// One way into the destination, used by one thread at a time.
class DestinationLink {
 public:
  virtual ~DestinationLink() = default;

  // Makes path (below the destination's folder, "/" between folders) hold the bytes of the local
  // file: written under a hidden temporary name beside it, then renamed over it, so that the old
  // file stays whole until the new one takes its place; missing folders are created. False when
  // the hooks asked to stop (the old file is left, the temporary one removed). Throws
  // PublishError.
  virtual bool PutFile(const std::string& path, const std::string& local_path,
                       const TransferHooks& hooks) = 0;
};

// Where a publish writes: a local folder or a folder on an SFTP server. Every call but OpenLink
// comes from the thread that opened it, and may throw PublishError.
class Destination {
 public:
  virtual ~Destination() = default;

  // Every file below the destination's folder with its size.
  virtual std::vector<RemoteFile> ListFiles() = 0;
  // The ContentHash of a file there.
  virtual std::string HashFile(const std::string& path) = 0;
  virtual void RemoveFile(const std::string& path) = 0;
  // Removes a folder that holds nothing; anything else leaves it quietly.
  virtual void RemoveFolderIfEmpty(const std::string& path) = 0;

  // Makes the files sent so far durable before the manifest names them.
  virtual void Flush() {}

  // The link of the destination's own connection.
  virtual DestinationLink& MainLink() = 0;
  // How many more links a transfer of this many files is worth (each is a connection).
  virtual int ExtraLinksWorthOpening(std::size_t files) const = 0;
  // Opens one more link; called on the thread that will use it. Throws PublishError.
  virtual std::unique_ptr<DestinationLink> OpenLink() = 0;
};

// "Cannot publish to DESTINATION: " + reason, the form of every publish failure.
PublishError PublishFailure(const std::string& destination_text, const std::string& reason);

}  // namespace pentrak
