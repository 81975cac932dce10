#pragma once

// One SSH connection with its SFTP session, for the SFTP destination: the host key checked, the
// user authenticated, and every failure worded as a publish failure.

#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <string>
#include <string_view>

#include "publish/sftp_destination.h"

namespace pentrak {

class FileSystem;

// The OpenSSH extension that renames over an existing file.
inline constexpr std::string_view kPosixRenameExtension = "posix-rename@openssh.com";

// The folder of a path on the server ("" for a name without one).
std::string RemoteParent(const std::string& path);

// Why a connection could not be made, in the words of a publish failure, from the library's
// own description of the failure.
std::string ConnectFailureReason(const std::string& host, int port, const std::string& description,
                                 long timeout_seconds);

class SshConnection {
 public:
  SshConnection(const PublishDestination& destination, const SshOptions& options,
                std::string destination_text)
      : destination_(destination), options_(options), text_(std::move(destination_text)) {}
  ~SshConnection();
  SshConnection(const SshConnection&) = delete;
  SshConnection& operator=(const SshConnection&) = delete;

  // Connects and checks the server's key: against known_hosts, or, when expected is given (a
  // further connection), against the key the first connection accepted.
  void Connect(ssh_key expected);
  void Authenticate(const FileSystem& fs);
  void StartSftp();

  // The server's key, which the caller frees with ssh_key_free; the connection no longer has it.
  ssh_key TakeServerKey() {
    ssh_key key = server_key_;
    server_key_ = nullptr;
    return key;
  }
  sftp_session sftp() const { return sftp_; }
  bool posix_rename() const { return posix_rename_; }
  const std::string& host() const { return destination_.host; }
  int timeout_ms() const { return static_cast<int>(options_.timeout_seconds * 1000); }

  // The path on the server of a path below the destination's folder ("" for the folder).
  std::string Remote(const std::string& path) const;

  [[noreturn]] void Fail(const std::string& reason) const { throw PublishFailure(text_, reason); }
  // Fails with the reason an SFTP request on target failed: the server's status code, or
  // (code -1) the last one the session saw; action says what was asked.
  [[noreturn]] void FailRequest(const std::string& action, const std::string& target,
                                int code = -1) const;
  [[noreturn]] void FailLost() const;

 private:
  void CheckKnownHost();
  std::string UserName() const;
  std::string KnownHostsName() const;

  const PublishDestination& destination_;
  const SshOptions& options_;
  std::string text_;
  ssh_session session_ = nullptr;
  sftp_session sftp_ = nullptr;
  ssh_key server_key_ = nullptr;
  bool posix_rename_ = false;
};

}  // namespace pentrak
