#include "testing/ssh_server.h"

#include <arpa/inet.h>
#include <grp.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

namespace pentrak {

namespace {

constexpr const char* kSshd = "/usr/sbin/sshd";
constexpr const char* kKeygen = "/usr/bin/ssh-keygen";

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// Starts a program; in the child, before it runs, prepare() may drop privileges and out (when
// not -1) becomes its standard output. Returns its process id.
template <typename Prepare>
pid_t Spawn(std::vector<std::string> arguments, int out, Prepare prepare) {
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    if (out >= 0) ::dup2(out, STDOUT_FILENO);
    if (!prepare()) ::_exit(126);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  return pid;
}

// Runs ssh-keygen to its end; its standard output is returned, "" when it failed.
std::string Keygen(std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), kKeygen);
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return "";
  pid_t pid = Spawn(arguments, pipe_ends[1], [] { return true; });
  ::close(pipe_ends[1]);
  std::string output = "\n";  // not empty, even when the program prints nothing
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0;) {
    output.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_ends[0]);
  int status = 0;
  bool ran =
      pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return ran ? output : "";
}

// A loopback address with the port, for bind and connect.
sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  return address;
}

bool Listening(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

int LoopbackSocket(bool listen, int& port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  socklen_t size = sizeof address;
  ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  port = ntohs(address.sin_port);
  if (listen) ::listen(fd, 4);
  return fd;
}

SshServer::SshServer(std::string folder) : folder_(std::move(folder) + "/sshd") {
  // A server started by root would run privileged; nobody's account lets a key in through PAM
  // and can write nowhere it is not given.
  const passwd* account = ::getpwuid(::geteuid());
  if (::geteuid() == 0) account = ::getpwnam("nobody");
  if (account == nullptr) return;
  user_ = account->pw_name;
  drop_privileges_ = ::geteuid() == 0;
  uid_ = account->pw_uid;
  gid_ = account->pw_gid;
}

SshServer::~SshServer() { Stop(); }

std::string SshServer::Address(const std::string& path) const {
  return "sftp://" + user_ + "@127.0.0.1:" + std::to_string(port_) + path;
}

std::string SshServer::MakeKey(const std::string& name) const {
  const std::string path = folder_ + "/" + name;
  std::filesystem::remove(path);
  std::filesystem::remove(path + ".pub");
  if (Keygen({"-q", "-t", "ed25519", "-N", "", "-C", name, "-f", path}).empty()) {
    return "ssh-keygen could not make " + path;
  }
  if (drop_privileges_ && ::chown(path.c_str(), uid_, gid_) != 0) return "chown failed";
  return "";
}

std::string SshServer::Start() {
  if (::access(kSshd, X_OK) != 0) {
    return std::string(kSshd) + " is missing; scripts/setup.sh installs openssh-server";
  }
  if (user_.empty()) return "no user to let in";
  // The server's user must reach the files below the test's own folder.
  ::chmod(std::filesystem::path(folder_).parent_path().c_str(), 0755);
  std::filesystem::create_directories(folder_ + "/run");
  ::chmod(folder_.c_str(), 0755);
  MakeWritableFolder(folder_ + "/run");
  for (const char* key : {"host_key", "user_key", "other_key"}) {
    if (std::string problem = MakeKey(key); !problem.empty()) return problem;
  }
  std::ofstream(folder_ + "/authorized_keys") << ReadAll(UserKey() + ".pub");
  std::ofstream(folder_ + "/sshd_config")
      << "ListenAddress 127.0.0.1\nHostKey " << folder_ << "/host_key\nPidFile " << folder_
      << "/run/sshd.pid\nAuthorizedKeysFile " << folder_
      << "/authorized_keys\n"
      // The keys live in the test's temporary folder, whose owner sshd would question.
      << "StrictModes no\nPasswordAuthentication no\nKbdInteractiveAuthentication no\n"
      // PAM lets a key in for an account without a password, as nobody's is.
      << "UsePAM yes\nPrintMotd no\nMaxStartups 50\nSubsystem sftp internal-sftp\n";
  return Launch();
}

std::string SshServer::Launch() {
  // A restarted server keeps its port, so that known_hosts entries still name it.
  if (port_ == 0) ::close(LoopbackSocket(false, port_));
  pid_ = Spawn({kSshd, "-D", "-f", folder_ + "/sshd_config", "-p", std::to_string(port_), "-E",
                folder_ + "/run/sshd.log"},
               -1, [this] {
                 return !drop_privileges_ || (::setgroups(0, nullptr) == 0 && ::setgid(gid_) == 0 &&
                                              ::setuid(uid_) == 0);
               });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (pid_ > 0 && !Listening(port_)) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return "sshd ended at once: " + ReadAll(folder_ + "/run/sshd.log");
    }
    if (std::chrono::steady_clock::now() > deadline) return "sshd did not listen within 10 s";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return pid_ > 0 ? "" : "fork failed";
}

void SshServer::Stop() {
  if (pid_ <= 0) return;
  ::kill(pid_, SIGTERM);
  int status = 0;
  ::waitpid(pid_, &status, 0);
  pid_ = -1;
}

std::string SshServer::ReplaceHostKey() {
  Stop();
  if (std::string problem = MakeKey("host_key"); !problem.empty()) return problem;
  return Launch();
}

std::string SshServer::HostKeyFingerprint() const {
  std::istringstream words(Keygen({"-l", "-E", "sha256", "-f", folder_ + "/host_key.pub"}));
  std::string bits;
  std::string fingerprint;
  words >> bits >> fingerprint;
  return fingerprint;
}

void SshServer::WriteKnownHosts(const std::string& path) const {
  std::ofstream(path) << "[127.0.0.1]:" << port_ << " " << ReadAll(folder_ + "/host_key.pub");
}

void SshServer::MakeWritableFolder(const std::string& path) const {
  std::filesystem::create_directories(path);
  if (drop_privileges_ && ::chown(path.c_str(), uid_, gid_) != 0) return;
}

}  // namespace pentrak
