#include "publish/sftp_destination.h"

#include <fcntl.h>

#include <algorithm>
#include <cstdint>
#include <set>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "publish/content_hash.h"
#include "publish/ssh_connection.h"

namespace pentrak {

namespace {

// Pieces small enough for every server's packet limit.
constexpr std::size_t kPieceBytes = 32 * 1024;
constexpr int kRemoteFileMode = 0644;
constexpr int kRemoteFolderMode = 0755;
constexpr unsigned char kFxpExtended = 200;
constexpr unsigned char kFxpStatus = 101;

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
  PutText(body, kPosixRenameExtension);
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

// Owns a server key taken from a connection for the life of the destination.
class KeyHolder {
 public:
  KeyHolder() = default;
  ~KeyHolder() {
    if (key_ != nullptr) ssh_key_free(key_);
  }
  KeyHolder(const KeyHolder&) = delete;
  KeyHolder& operator=(const KeyHolder&) = delete;
  void Keep(SshConnection& connection) { key_ = connection.TakeServerKey(); }
  ssh_key get() const { return key_; }

 private:
  ssh_key key_ = nullptr;
};

// Writes files through one connection; a connection serves one thread at a time.
class SftpLink : public DestinationLink {
 public:
  SftpLink(const FileSystem& fs, SshConnection& connection) : fs_(fs), c_(connection) {}

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
  SshConnection& c_;
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
    MakeFolders(RemoteParent(temporary));
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
          DiskFull(c_.Remote(RemoteParent(target)), piece)) {
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
  const std::string aside = c_.Remote(TemporarySibling(target + ".old"));
  if (sftp_rename(c_.sftp(), to.c_str(), aside.c_str()) != SSH_OK ||
      sftp_rename(c_.sftp(), from.c_str(), to.c_str()) != SSH_OK) {
    c_.FailRequest("rename a file to", to);
  }
  sftp_unlink(c_.sftp(), aside.c_str());
}

bool SftpLink::PutFile(const std::string& path, const std::string& local_path,
                       const TransferHooks& hooks) {
  const std::string temporary = TemporarySibling(path);
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
  SshConnection& connection() { return connection_; }
  bool PutFile(const std::string& path, const std::string& local_path,
               const TransferHooks& hooks) override {
    return link_.PutFile(path, local_path, hooks);
  }

 private:
  SshConnection connection_;
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
  SshConnection connection_;
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

}  // namespace pentrak
