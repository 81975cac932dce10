#include "publish/ssh_connection.h"

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/text_lines.h"

namespace pentrak {

namespace {

bool Contains(const std::string& text, std::string_view part) {
  return text.find(part) != std::string::npos;
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

}  // namespace

std::string RemoteParent(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
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

SshConnection::~SshConnection() {
  if (server_key_ != nullptr) ssh_key_free(server_key_);
  if (sftp_ != nullptr) sftp_free(sftp_);
  if (session_ != nullptr) {
    ssh_disconnect(session_);
    ssh_free(session_);
  }
}

std::string SshConnection::Remote(const std::string& path) const {
  const std::string& root = destination_.remote_folder;
  if (root.empty()) return path.empty() ? "." : path;
  if (path.empty()) return root;
  return root.back() == '/' ? root + path : root + "/" + path;
}

std::string SshConnection::UserName() const {
  char* user = nullptr;
  std::string name = destination_.user;
  if (name.empty() && ssh_options_get(session_, SSH_OPTIONS_USER, &user) == SSH_OK) {
    name = user;
    ssh_string_free_char(user);
  }
  return name;
}

std::string SshConnection::KnownHostsName() const {
  return options_.known_hosts.empty() ? "~/.ssh/known_hosts" : options_.known_hosts;
}

void SshConnection::FailLost() const {
  Fail("the connection to " + host() + " was lost (" + ssh_get_error(session_) + ").");
}

void SshConnection::FailRequest(const std::string& action, const std::string& target,
                                int code) const {
  if (ssh_is_connected(session_) == 0) FailLost();
  switch (code < 0 ? sftp_get_error(sftp_) : code) {
    case SSH_FX_PERMISSION_DENIED:
    case SSH_FX_WRITE_PROTECT:
      Fail("permission denied on the remote folder " + RemoteParent(target) + " on " + host() +
           ".");
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

void SshConnection::Connect(ssh_key expected) {
  session_ = ssh_new();
  if (session_ == nullptr) Fail("the SSH library could not start a session.");
  ssh_options_set(session_, SSH_OPTIONS_HOST, destination_.host.c_str());
  // The user's ~/.ssh/config applies (host aliases, ports, keys), but what the destination and
  // the options name explicitly comes after it and wins.
  ssh_options_parse_config(session_, nullptr);
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

void SshConnection::CheckKnownHost() {
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

void SshConnection::Authenticate(const FileSystem& fs) {
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

void SshConnection::StartSftp() {
  sftp_ = sftp_new(session_);
  if (sftp_ == nullptr || sftp_init(sftp_) != SSH_OK) {
    Fail(host() + " offers no SFTP service (" + ssh_get_error(session_) + ").");
  }
  posix_rename_ = sftp_extension_supported(sftp_, kPosixRenameExtension.data(), "1") == 1;
}

}  // namespace pentrak
