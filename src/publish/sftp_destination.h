#pragma once

#include <functional>
#include <memory>
#include <string>

#include "publish/destination.h"
#include "settings/publish_destination.h"

namespace pentrak {

class FileSystem;

// How SFTP connections are made, beside the destination itself.
struct SshOptions {
  std::string known_hosts;  // empty: the user's ~/.ssh/known_hosts
  long timeout_seconds = 20;
  // Asked about a host key known_hosts does not hold, with the host and the key's type and
  // fingerprint ("ssh-ed25519 SHA256:..."); true trusts it and records it in known_hosts. Left
  // empty, such a key is refused. A key that differs from the recorded one is always refused.
  std::function<bool(const std::string& host, const std::string& fingerprint)> trust_new_host_key;
  // Follows the fingerprint in the sentence that refuses an unknown key (how to trust it).
  std::string unknown_host_key_advice;
  int max_links = 4;  // connections a large transfer may use at once
};

// Connects to the SFTP server, checks its host key, authenticates (the key file when one is
// named, else ssh-agent and the default keys) and opens the destination's folder, creating it
// when only its last part is missing. Throws PublishError naming host and folder.
std::unique_ptr<Destination> OpenSftpDestination(const FileSystem& fs,
                                                 const PublishDestination& destination,
                                                 const SshOptions& options);

}  // namespace pentrak
