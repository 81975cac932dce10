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

// Runs a program to its end; its standard output goes to output (when given), its errors are
// dropped. Returns the exit status, or -1 when it could not run.
int RunProgram(std::vector<std::string> arguments, std::string* output = nullptr) {
  int pipe_ends[2];
  if (::pipe(pipe_ends) != 0) return -1;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipe_ends[1], STDOUT_FILENO);
    ::close(pipe_ends[0]);
    ::close(pipe_ends[1]);
    ::close(STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(pipe_ends[1]);
  char buffer[4096];
  ssize_t n;
  while ((n = ::read(pipe_ends[0], buffer, sizeof buffer)) > 0) {
    if (output != nullptr) output->append(buffer, static_cast<std::size_t>(n));
  }
  ::close(pipe_ends[0]);
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

// A port nobody listens on right now.
int FreePort() {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  int port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0) {
    port = ntohs(address.sin_port);
  }
  ::close(fd);
  return port;
}

bool Listening(int port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  bool connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return connected;
}

}  // namespace

SshServer::SshServer(std::string folder) : folder_(std::move(folder) + "/sshd") {
  // A server started by root would run privileged; nobody's account lets a key in through PAM
  // and can write nowhere it is not given.
  if (::geteuid() == 0) {
    const passwd* nobody = ::getpwnam("nobody");
    if (nobody != nullptr) {
      user_ = "nobody";
      uid_ = nobody->pw_uid;
      gid_ = nobody->pw_gid;
      drop_privileges_ = true;
    }
  } else if (const passwd* me = ::getpwuid(::geteuid())) {
    user_ = me->pw_name;
  }
}

SshServer::~SshServer() { Stop(); }

std::string SshServer::Address(const std::string& path) const {
  return "sftp://" + user_ + "@127.0.0.1:" + std::to_string(port_) + path;
}

std::string SshServer::MakeKeys() {
  for (const char* key : {"host_key", "user_key", "other_key"}) {
    std::string path = folder_ + "/" + key;
    std::filesystem::remove(path);
    std::filesystem::remove(path + ".pub");
    if (RunProgram({kKeygen, "-q", "-t", "ed25519", "-N", "", "-C", key, "-f", path}) != 0) {
      return "ssh-keygen could not make " + path;
    }
  }
  std::ofstream(folder_ + "/authorized_keys") << ReadAll(UserKey() + ".pub");
  if (drop_privileges_) {
    for (const char* file : {"host_key", "authorized_keys", "run"}) {
      if (::chown((folder_ + "/" + file).c_str(), uid_, gid_) != 0) return "chown failed";
    }
  }
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
  if (std::string problem = MakeKeys(); !problem.empty()) return problem;
  std::ofstream(folder_ + "/sshd_config")
      << "ListenAddress 127.0.0.1\n"
      << "HostKey " << folder_ << "/host_key\n"
      << "PidFile " << folder_ << "/run/sshd.pid\n"
      << "AuthorizedKeysFile " << folder_
      << "/authorized_keys\n"
      // The keys live in the test's temporary folder, whose owner sshd would question.
      << "StrictModes no\n"
      << "PubkeyAuthentication yes\n"
      << "PasswordAuthentication no\n"
      << "KbdInteractiveAuthentication no\n"
      // PAM lets a key in for an account without a password, as nobody's is.
      << "UsePAM yes\n"
      << "PrintMotd no\n"
      << "MaxStartups 50\n"
      << "Subsystem sftp internal-sftp\n";
  return Launch();
}

std::string SshServer::Launch() {
  // A restarted server keeps its port, so that known_hosts entries still name it.
  if (port_ == 0) port_ = FreePort();
  std::vector<std::string> arguments = {kSshd, "-D",
                                        "-f",  folder_ + "/sshd_config",
                                        "-p",  std::to_string(port_),
                                        "-E",  folder_ + "/run/sshd.log"};
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  pid_ = ::fork();
  if (pid_ == 0) {
    if (drop_privileges_ &&
        (::setgroups(0, nullptr) != 0 || ::setgid(gid_) != 0 || ::setuid(uid_) != 0)) {
      ::_exit(126);
    }
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  if (pid_ < 0) return "fork failed";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!Listening(port_)) {
    int status = 0;
    if (::waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return "sshd ended at once: " + ReadAll(folder_ + "/run/sshd.log");
    }
    if (std::chrono::steady_clock::now() > deadline) return "sshd did not listen within 10 s";
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return "";
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
  std::string path = folder_ + "/host_key";
  std::filesystem::remove(path);
  std::filesystem::remove(path + ".pub");
  if (RunProgram({kKeygen, "-q", "-t", "ed25519", "-N", "", "-C", "host_key", "-f", path}) != 0) {
    return "ssh-keygen could not make " + path;
  }
  if (drop_privileges_ && ::chown(path.c_str(), uid_, gid_) != 0) return "chown failed";
  return Launch();
}

std::string SshServer::HostKeyFingerprint() const {
  std::string output;
  RunProgram({kKeygen, "-l", "-E", "sha256", "-f", folder_ + "/host_key.pub"}, &output);
  std::istringstream words(output);
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
