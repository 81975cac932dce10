#include "publish/sftp_destination.h"

#include <fcntl.h>
#include <libssh/libssh.h>
#include <libssh/sftp.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"
#include "publish/content_hash.h"

namespace pentrak {

namespace {

// Pieces small enough for every server's packet limit.
constexpr std::size_t kPieceBytes = 32 * 1024;
constexpr int kRemoteFileMode = 0644;
constexpr int kRemoteFolderMode = 0755;
constexpr std::string_view kPosixRename = "posix-rename@openssh.com";
constexpr unsigned char kFxpExtended = 200;
constexpr unsigned char kFxpStatus = 101;

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
}

std::string ParentOf(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

// The hidden name a file is written under before it takes its place: ".NAME.pentrak-new".
std::string TemporaryPath(const std::string& path) {
  std::size_t slash = path.rfind('/');
  std::size_t name = slash == std::string::npos ? 0 : slash + 1;
  return path.substr(0, name) + "." + path.substr(name) + std::string(kTemporarySuffix);
}

void PutNumber(std::string& packet, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) {
    packet += static_cast<char>((value >> shift) & 0xff);
  }
}

void PutText(std::string& packet, std::string_view text) {
  PutNumber(packet, static_cast<std::uint32_t>(text.size()));
  packet.append(text);
}

std::uint32_t NumberAt(const std::string& bytes, std::size_t at) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
  }
  return value;
}

// Reads exactly size bytes from the channel; false when it ends or stays silent too long.
bool ReadExactly(ssh_channel channel, std::string& bytes, std::size_t size, int timeout_ms) {
  bytes.assign(size, '\0');
  for (std::size_t done = 0; done < size;) {
    int n = ssh_channel_read_timeout(channel, bytes.data() + done,
                                     static_cast<std::uint32_t>(size - done), 0, timeout_ms);
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Renames from over an existing to in one step, as POSIX rename does, and returns the server's
// status code (-1 when the channel failed). The protocol's own rename refuses an existing name,
// and libssh 0.10 has no call for the OpenSSH extension that replaces it, so this one request is
// sent on the SFTP channel directly. It is only ever sent between two of libssh's own requests,
// when no answer is outstanding, so the next packet on the channel is its reply.
int PosixRename(sftp_session sftp, const std::string& from, const std::string& to, int timeout_ms) {
  const std::uint32_t id = ++sftp->id_counter;
  std::string body(1, static_cast<char>(kFxpExtended));
  PutNumber(body, id);
  PutText(body, kPosixRename);
  PutText(body, from);
  PutText(body, to);
  std::string packet;
  PutNumber(packet, static_cast<std::uint32_t>(body.size()));
  packet += body;
  if (ssh_channel_write(sftp->channel, packet.data(), static_cast<std::uint32_t>(packet.size())) !=
      static_cast<int>(packet.size())) {
    return -1;
  }
  std::string length;
  std::string reply;
  if (!ReadExactly(sftp->channel, length, 4, timeout_ms)) return -1;
  const std::uint32_t size = NumberAt(length, 0);
  // A status reply is type, id, code and two short texts; anything far larger is not one.
  if (size < 9 || size > 65536 || !ReadExactly(sftp->channel, reply, size, timeout_ms)) return -1;
  if (static_cast<unsigned char>(reply[0]) != kFxpStatus || NumberAt(reply, 1) != id) return -1;
  return static_cast<int>(NumberAt(reply, 5));
}

// One SSH connection with its SFTP session.
class Connection {
 public:
  Connection(const PublishDestination& destination, const SshOptions& options,
             std::string destination_text)
      : destination_(destination), options_(options), text_(std::move(destination_text)) {}
  ~Connection() {
    if (sftp_ != nullptr) sftp_free(sftp_);
    if (session_ != nullptr) {
      ssh_disconnect(session_);
      ssh_free(session_);
    }
  }
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  // Connects and checks the server's key: against known_hosts, or, when expected is given (a
  // further connection), against the key the first connection accepted.
  void Connect(ssh_key expected);
  void Authenticate(const FileSystem& fs);
  void StartSftp();

  ssh_key server_key() const { return server_key_; }
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

  friend class KeyHolder;
};

std::string Connection::Remote(const std::string& path) const {
  const std::string& root = destination_.remote_folder;
  if (root.empty()) return path.empty() ? "." : path;
  if (path.empty()) return root;
  return root.back() == '/' ? root + path : root + "/" + path;
}

std::string Connection::UserName() const {
  char* user = nullptr;
  std::string name = destination_.user;
  if (name.empty() && ssh_options_get(session_, SSH_OPTIONS_USER, &user) == SSH_OK) {
    name = user;
    ssh_string_free_char(user);
  }
  return name;
}

std::string Connection::KnownHostsName() const {
  return options_.known_hosts.empty() ? "~/.ssh/known_hosts" : options_.known_hosts;
}

void Connection::FailLost() const {
  Fail("the connection to " + host() + " was lost (" + ssh_get_error(session_) + ").");
}

void Connection::FailRequest(const std::string& action, const std::string& target, int code) const {
  if (ssh_is_connected(session_) == 0) FailLost();
  switch (code < 0 ? sftp_get_error(sftp_) : code) {
    case SSH_FX_PERMISSION_DENIED:
    case SSH_FX_WRITE_PROTECT:
      Fail("permission denied on the remote folder " + ParentOf(target) + " on " + host() + ".");
    case SSH_FX_NO_SUCH_FILE:
    case SSH_FX_NO_SUCH_PATH:
      Fail(target + " does not exist on " + host() + ".");
    case SSH_FX_NO_CONNECTION:
    case SSH_FX_CONNECTION_LOST:
      FailLost();
    default:
      Fail(host() + " could not " + action + " " + target + " (" + ssh_get_error(session_) + ").");
  }
}

void Connection::Connect(ssh_key expected) {
  session_ = ssh_new();
  if (session_ == nullptr) Fail("the SSH library could not start a session.");
  ssh_options_set(session_, SSH_OPTIONS_HOST, destination_.host.c_str());
  if (destination_.port != 0) ssh_options_set(session_, SSH_OPTIONS_PORT, &destination_.port);
  if (!destination_.user.empty()) {
    ssh_options_set(session_, SSH_OPTIONS_USER, destination_.user.c_str());
  }
  if (!options_.known_hosts.empty()) {
    ssh_options_set(session_, SSH_OPTIONS_KNOWNHOSTS, options_.known_hosts.c_str());
  }
  long timeout = options_.timeout_seconds;
  ssh_options_set(session_, SSH_OPTIONS_TIMEOUT, &timeout);
  // Every file costs a few request and reply pairs; Nagle's delay would add to each.
  int nodelay = 1;
  ssh_options_set(session_, SSH_OPTIONS_NODELAY, &nodelay);
  if (ssh_connect(session_) != SSH_OK) {
    Fail(ConnectFailureReason(host(), destination_.port, ssh_get_error(session_),
                              options_.timeout_seconds));
  }
  if (ssh_get_server_publickey(session_, &server_key_) != SSH_OK) FailLost();
  if (expected == nullptr) {
    CheckKnownHost();
  } else if (ssh_key_cmp(expected, server_key_, SSH_KEY_CMP_PUBLIC) != 0) {
    Fail("the host key of " + host() + " changed while publishing; publishing there is refused.");
  }
}

// "ssh-ed25519 SHA256:..." for the key the server showed.
std::string Fingerprint(ssh_key key) {
  unsigned char* hash = nullptr;
  std::size_t length = 0;
  if (ssh_get_publickey_hash(key, SSH_PUBLICKEY_HASH_SHA256, &hash, &length) != SSH_OK) {
    return "(no fingerprint)";
  }
  char* text = ssh_get_fingerprint_hash(SSH_PUBLICKEY_HASH_SHA256, hash, length);
  ssh_clean_pubkey_hash(&hash);
  std::string fingerprint = std::string(ssh_key_type_to_char(ssh_key_type(key))) + " " +
                            (text != nullptr ? text : "(no fingerprint)");
  ssh_string_free_char(text);
  return fingerprint;
}

void Connection::CheckKnownHost() {
  const std::string fingerprint = Fingerprint(server_key_);
  switch (ssh_session_is_known_server(session_)) {
    case SSH_KNOWN_HOSTS_OK:
      return;
    case SSH_KNOWN_HOSTS_CHANGED:
    case SSH_KNOWN_HOSTS_OTHER:
      Fail("the host key of " + host() + " has changed (it is now " + fingerprint +
           "), so publishing there is refused. If the server's key was replaced on purpose, "
           "remove its old entry from " +
           KnownHostsName() + ".");
    case SSH_KNOWN_HOSTS_UNKNOWN:
    case SSH_KNOWN_HOSTS_NOT_FOUND:
      if (!options_.trust_new_host_key || !options_.trust_new_host_key(host(), fingerprint)) {
        Fail("the host key of " + host() + " is not known (" + fingerprint + ")" +
             options_.unknown_host_key_advice + ".");
      }
      if (ssh_session_update_known_hosts(session_) != SSH_OK) {
        Fail("the host key of " + host() + " could not be recorded in " + KnownHostsName() + " (" +
             ssh_get_error(session_) + ").");
      }
      return;
    case SSH_KNOWN_HOSTS_ERROR:
      Fail(KnownHostsName() + " could not be read (" + ssh_get_error(session_) + ").");
  }
}

void Connection::Authenticate(const FileSystem& fs) {
  const std::string& key_file = destination_.key_file;
  int result = SSH_AUTH_DENIED;
  if (key_file.empty()) {
    result = ssh_userauth_publickey_auto(session_, nullptr, nullptr);
  } else {
    ssh_key key = nullptr;
    const std::string native = NativePath(key_file);
    if (ssh_pki_import_privkey_file(native.c_str(), nullptr, nullptr, nullptr, &key) != SSH_OK) {
      if (!fs.FileExists(native)) Fail("the key file " + key_file + " does not exist.");
      Fail("the key file " + key_file +
           " cannot be read; a key protected by a passphrase must be added to ssh-agent "
           "(ssh-add) and the key file left empty.");
    }
    result = ssh_userauth_publickey(session_, nullptr, key);
    ssh_key_free(key);
  }
  if (result == SSH_AUTH_SUCCESS) return;
  if (result == SSH_AUTH_ERROR && ssh_is_connected(session_) == 0) FailLost();
  const std::string keys =
      key_file.empty() ? "any key of ssh-agent or ~/.ssh" : "the key in " + key_file;
  Fail(host() + " did not accept " + keys + " for the user " + UserName() +
       " (authentication failed).");
}

void Connection::StartSftp() {
  sftp_ = sftp_new(session_);
  if (sftp_ == nullptr || sftp_init(sftp_) != SSH_OK) {
    Fail(host() + " offers no SFTP service (" + ssh_get_error(session_) + ").");
  }
  posix_rename_ = sftp_extension_supported(sftp_, kPosixRename.data(), "1") == 1;
}

// Owns a server key taken from a connection for the life of the destination.
class KeyHolder {
 public:
  KeyHolder() = default;
  ~KeyHolder() {
    if (key_ != nullptr) ssh_key_free(key_);
  }
  KeyHolder(const KeyHolder&) = delete;
  KeyHolder& operator=(const KeyHolder&) = delete;
  void Keep(Connection& connection) {
    key_ = connection.server_key_;
    connection.server_key_ = nullptr;
  }
  ssh_key get() const { return key_; }

 private:
  ssh_key key_ = nullptr;
};

// Writes files through one connection; a connection serves one thread at a time.
class SftpLink : public DestinationLink {
 public:
  SftpLink(const FileSystem& fs, Connection& connection) : fs_(fs), c_(connection) {}

  bool PutFile(const std::string& path, const std::string& local_path,
               const TransferHooks& hooks) override;

  // Creates the folder and those above it below the destination's folder.
  void MakeFolders(const std::string& folder);

 private:
  sftp_file OpenForWriting(const std::string& temporary);
  void WriteAll(sftp_file file, std::string_view bytes, const std::string& target);
  void Replace(const std::string& temporary, const std::string& target);
  bool DiskFull(const std::string& folder, std::uint64_t needed) const;

  const FileSystem& fs_;
  Connection& c_;
  std::set<std::string> made_;  // folders known to exist
};

void SftpLink::MakeFolders(const std::string& folder) {
  std::size_t end = 0;
  while (end != std::string::npos) {
    end = folder.find('/', end + 1);
    std::string part = folder.substr(0, end);
    if (part.empty() || made_.contains(part)) continue;
    const std::string remote = c_.Remote(part);
    if (sftp_mkdir(c_.sftp(), remote.c_str(), kRemoteFolderMode) != SSH_OK) {
      // It may exist already, made by another link or an earlier publish.
      sftp_attributes attributes = sftp_stat(c_.sftp(), remote.c_str());
      bool folder_there = attributes != nullptr && attributes->type == SSH_FILEXFER_TYPE_DIRECTORY;
      if (attributes != nullptr) sftp_attributes_free(attributes);
      if (!folder_there) c_.FailRequest("create the folder", remote);
    }
    made_.insert(part);
  }
}

sftp_file SftpLink::OpenForWriting(const std::string& temporary) {
  const std::string remote = c_.Remote(temporary);
  const int flags = O_WRONLY | O_CREAT | O_TRUNC;
  sftp_file file = sftp_open(c_.sftp(), remote.c_str(), flags, kRemoteFileMode);
  if (file == nullptr && sftp_get_error(c_.sftp()) == SSH_FX_NO_SUCH_FILE) {
    MakeFolders(ParentOf(temporary));
    file = sftp_open(c_.sftp(), remote.c_str(), flags, kRemoteFileMode);
  }
  if (file == nullptr) c_.FailRequest("create", remote);
  return file;
}

bool SftpLink::DiskFull(const std::string& folder, std::uint64_t needed) const {
  if (sftp_extension_supported(c_.sftp(), "statvfs@openssh.com", "2") != 1) return false;
  sftp_statvfs_t space = sftp_statvfs(c_.sftp(), folder.c_str());
  if (space == nullptr) return false;
  bool full = space->f_bavail * std::max<std::uint64_t>(space->f_frsize, 1) < needed;
  sftp_statvfs_free(space);
  return full;
}

void SftpLink::WriteAll(sftp_file file, std::string_view bytes, const std::string& target) {
  while (!bytes.empty()) {
    const std::size_t piece = std::min(bytes.size(), kPieceBytes);
    ssize_t written = sftp_write(file, bytes.data(), piece);
    if (written <= 0) {
      if (ssh_is_connected(c_.sftp()->session) != 0 &&
          DiskFull(c_.Remote(ParentOf(target)), piece)) {
        c_.Fail("the disk of " + c_.host() + " is full (writing " + c_.Remote(target) + ").");
      }
      c_.FailRequest("write", c_.Remote(target));
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
}

void SftpLink::Replace(const std::string& temporary, const std::string& target) {
  const std::string from = c_.Remote(temporary);
  const std::string to = c_.Remote(target);
  if (c_.posix_rename()) {
    int status = PosixRename(c_.sftp(), from, to, c_.timeout_ms());
    if (status == SSH_FX_OK) return;
    if (status < 0) c_.FailLost();
    c_.FailRequest("rename a file to", to, status);
  }
  if (sftp_rename(c_.sftp(), from.c_str(), to.c_str()) == SSH_OK) return;
  // A server without the extension may refuse to rename over an existing file: the old one
  // steps aside first, so the name is missing for one request but never holds half a file.
  const std::string aside = c_.Remote(TemporaryPath(target) + ".old");
  if (sftp_rename(c_.sftp(), to.c_str(), aside.c_str()) != SSH_OK ||
      sftp_rename(c_.sftp(), from.c_str(), to.c_str()) != SSH_OK) {
    c_.FailRequest("rename a file to", to);
  }
  sftp_unlink(c_.sftp(), aside.c_str());
}

bool SftpLink::PutFile(const std::string& path, const std::string& local_path,
                       const TransferHooks& hooks) {
  const std::string temporary = TemporaryPath(path);
  sftp_file file = OpenForWriting(temporary);
  struct Stopped {};
  bool first = true;
  try {
    try {
      fs_.ReadChunks(local_path, [&](std::string_view chunk) {
        if (!first && hooks.stop && hooks.stop()) throw Stopped{};
        first = false;
        WriteAll(file, chunk, path);
        if (hooks.sent) hooks.sent(chunk.size());
      });
    } catch (const Error& error) {
      c_.Fail("could not read " + local_path + ": " + error.description() + ".");
    }
  } catch (const Stopped&) {
    sftp_close(file);
    sftp_unlink(c_.sftp(), c_.Remote(temporary).c_str());
    return false;
  } catch (...) {
    sftp_close(file);
    if (ssh_is_connected(c_.sftp()->session) != 0) {
      sftp_unlink(c_.sftp(), c_.Remote(temporary).c_str());
    }
    throw;
  }
  if (sftp_close(file) != SSH_OK) c_.FailRequest("write", c_.Remote(path));
  Replace(temporary, path);
  return true;
}

// A further connection and its link, for one more file in flight.
class ExtraLink : public DestinationLink {
 public:
  ExtraLink(const FileSystem& fs, const PublishDestination& destination, const SshOptions& options,
            const std::string& text)
      : connection_(destination, options, text), link_(fs, connection_) {}
  Connection& connection() { return connection_; }
  bool PutFile(const std::string& path, const std::string& local_path,
               const TransferHooks& hooks) override {
    return link_.PutFile(path, local_path, hooks);
  }

 private:
  Connection connection_;
  SftpLink link_;
};

class SftpDestination : public Destination {
 public:
  SftpDestination(const FileSystem& fs, const PublishDestination& destination,
                  const SshOptions& options)
      : fs_(fs),
        destination_(destination),
        options_(options),
        text_(DestinationText(destination)),
        connection_(destination_, options_, text_),
        link_(fs, connection_) {}

  void Open();

  std::vector<RemoteFile> ListFiles() override;
  std::string HashFile(const std::string& path) override;
  void RemoveFile(const std::string& path) override;
  void RemoveFolderIfEmpty(const std::string& path) override;
  DestinationLink& MainLink() override { return link_; }
  int ExtraLinksWorthOpening(std::size_t files) const override {
    // A connection costs about as much as a few dozen small files sent.
    return static_cast<int>(std::min<std::size_t>(options_.max_links - 1, files / 32));
  }
  std::unique_ptr<DestinationLink> OpenLink() override;

 private:
  void ListFolder(const std::string& folder, std::vector<RemoteFile>& files);

  const FileSystem& fs_;
  PublishDestination destination_;
  SshOptions options_;
  std::string text_;
  Connection connection_;
  SftpLink link_;
  KeyHolder server_key_;
};

void SftpDestination::Open() {
  connection_.Connect(nullptr);
  connection_.Authenticate(fs_);
  connection_.StartSftp();
  server_key_.Keep(connection_);
  const std::string root = connection_.Remote("");
  sftp_attributes attributes = sftp_stat(connection_.sftp(), root.c_str());
  if (attributes != nullptr) {
    bool folder = attributes->type == SSH_FILEXFER_TYPE_DIRECTORY;
    sftp_attributes_free(attributes);
    if (!folder) connection_.Fail(root + " on " + destination_.host + " is not a folder.");
    return;
  }
  if (sftp_get_error(connection_.sftp()) != SSH_FX_NO_SUCH_FILE) {
    connection_.FailRequest("open the folder", root);
  }
  if (sftp_mkdir(connection_.sftp(), root.c_str(), kRemoteFolderMode) != SSH_OK) {
    if (sftp_get_error(connection_.sftp()) == SSH_FX_NO_SUCH_FILE) {
      connection_.Fail("the folder " + root + " does not exist on " + destination_.host +
                       ", nor does the folder that would hold it.");
    }
    connection_.FailRequest("create the folder", root);
  }
}

std::unique_ptr<DestinationLink> SftpDestination::OpenLink() {
  auto link = std::make_unique<ExtraLink>(fs_, destination_, options_, text_);
  link->connection().Connect(server_key_.get());
  link->connection().Authenticate(fs_);
  link->connection().StartSftp();
  return link;
}

void SftpDestination::ListFolder(const std::string& folder, std::vector<RemoteFile>& files) {
  const std::string remote = connection_.Remote(folder);
  sftp_dir dir = sftp_opendir(connection_.sftp(), remote.c_str());
  if (dir == nullptr) connection_.FailRequest("list the folder", remote);
  std::vector<std::string> folders;
  while (sftp_attributes entry = sftp_readdir(connection_.sftp(), dir)) {
    std::string name = entry->name != nullptr ? entry->name : "";
    std::string path = folder.empty() ? name : folder + "/" + name;
    if (name == "." || name == "..") {
      // Not files of the site.
    } else if (entry->type == SSH_FILEXFER_TYPE_DIRECTORY) {
      folders.push_back(std::move(path));
    } else if (entry->type == SSH_FILEXFER_TYPE_REGULAR) {
      files.push_back({std::move(path), entry->size});
    }
    sftp_attributes_free(entry);
  }
  bool complete = sftp_dir_eof(dir) == 1;
  sftp_closedir(dir);
  if (!complete) connection_.FailRequest("list the folder", remote);
  for (const std::string& below : folders) ListFolder(below, files);
}

std::vector<RemoteFile> SftpDestination::ListFiles() {
  std::vector<RemoteFile> files;
  ListFolder("", files);
  return files;
}

std::string SftpDestination::HashFile(const std::string& path) {
  const std::string remote = connection_.Remote(path);
  sftp_file file = sftp_open(connection_.sftp(), remote.c_str(), O_RDONLY, 0);
  if (file == nullptr) connection_.FailRequest("read", remote);
  ContentHasher hasher;
  std::string buffer(kPieceBytes, '\0');
  ssize_t n;
  while ((n = sftp_read(file, buffer.data(), buffer.size())) > 0) {
    hasher.Add(std::string_view(buffer.data(), static_cast<std::size_t>(n)));
  }
  sftp_close(file);
  if (n < 0) connection_.FailRequest("read", remote);
  return hasher.Finish();
}

void SftpDestination::RemoveFile(const std::string& path) {
  const std::string remote = connection_.Remote(path);
  if (sftp_unlink(connection_.sftp(), remote.c_str()) == SSH_OK) return;
  if (sftp_get_error(connection_.sftp()) == SSH_FX_NO_SUCH_FILE) return;
  connection_.FailRequest("remove", remote);
}

void SftpDestination::RemoveFolderIfEmpty(const std::string& path) {
  sftp_rmdir(connection_.sftp(), connection_.Remote(path).c_str());
}

}  // namespace

std::unique_ptr<Destination> OpenSftpDestination(const FileSystem& fs,
                                                 const PublishDestination& destination,
                                                 const SshOptions& options) {
  auto opened = std::make_unique<SftpDestination>(fs, destination, options);
  opened->Open();
  return opened;
}

std::string ConnectFailureReason(const std::string& host, int port, const std::string& description,
                                 long timeout_seconds) {
  const std::string at = host + " port " + std::to_string(port == 0 ? 22 : port);
  if (Contains(description, "refused")) return at + " refused the connection.";
  if (Contains(description, "Timeout") || Contains(description, "timed out")) {
    return at + " did not answer within " + Plural(timeout_seconds, "second") + ".";
  }
  if (Contains(description, "resolve hostname")) return "the host " + host + " is not known.";
  if (Contains(description, "unreachable")) return host + " cannot be reached from here.";
  return "no connection to " + at + " (" + description + ").";
}

}  // namespace pentrak
