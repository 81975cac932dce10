#pragma once

// For tests only: OpenSSH's own server on a free loopback port, started for the test as an
// unprivileged process with keys made for it, and stopped with it.

#include <sys/types.h>
#include <string>

namespace pentrak {

// A socket bound to a free loopback port, listening when asked; port receives its number. A
// listening one takes connections and never answers; a closed one's port refuses them.
int LoopbackSocket(bool listen, int& port);

class SshServer {
 public:
  // The server's files go to folder + "/sshd"; nothing starts yet.
  explicit SshServer(std::string folder);
  ~SshServer();
  SshServer(const SshServer&) = delete;
  SshServer& operator=(const SshServer&) = delete;

  // Makes the keys and starts sshd; "" once it listens, else why it could not start.
  std::string Start();
  // Stops the server and starts it again on its port with a new host key; "" or why it failed.
  std::string ReplaceHostKey();

  int port() const { return port_; }
  // The user the server lets in: the test's own, or "nobody" when the test runs as root, for
  // a server started by root would be privileged.
  const std::string& user() const { return user_; }
  // The private key the server accepts for that user, and one it does not know.
  std::string UserKey() const { return folder_ + "/user_key"; }
  std::string OtherKey() const { return folder_ + "/other_key"; }
  // "sftp://USER@127.0.0.1:PORT" + path.
  std::string Address(const std::string& path) const;
  // The fingerprint of the host key as ssh-keygen shows it ("SHA256:...").
  std::string HostKeyFingerprint() const;
  // Writes a known_hosts file that holds the server's host key.
  void WriteKnownHosts(const std::string& path) const;
  // Creates a folder the server's user may write in (the whole way down from the test's folder).
  void MakeWritableFolder(const std::string& path) const;

 private:
  // Makes the key pair folder + "/" + name (and ".pub"), readable by the server's user.
  std::string MakeKey(const std::string& name) const;
  std::string Launch();
  void Stop();

  std::string folder_;
  std::string user_;
  uid_t uid_ = 0;
  gid_t gid_ = 0;
  bool drop_privileges_ = false;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace pentrak
