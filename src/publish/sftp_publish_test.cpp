#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <thread>

#include "platform/paths.h"
#include "publish/publish_run.h"
#include "publish/sftp_destination.h"
#include "testing/publish_fixture.h"
#include "testing/ssh_server.h"

namespace pentrak {
namespace {

// Publishing to OpenSSH's own server, started for each test on the loopback.
class SftpPublishTest : public PublishFixture, public ::testing::Test {
 protected:
  SftpPublishTest() : server(folder.path()) {}

  void SetUp() override {
    std::string problem = server.Start();
    ASSERT_EQ(problem, "");
    server.MakeWritableFolder(remote());
    server.WriteKnownHosts(known_hosts());
    Site("index.html", "<h1>Home</h1>\r\n");
    Site("news/today.html", "<p>Today</p>\r\n");
    Site("news/old.html", "<p>Old</p>\r\n");
  }

  std::string remote() const { return folder / "remote/"; }
  std::string known_hosts() const { return folder / "known_hosts"; }

  PublishRequest Request(const std::string& key_file = "") const {
    PublishRequest request;
    ParseDestination(server.Address(folder / "remote"), request.destination);
    request.destination.key_file = key_file.empty() ? server.UserKey() : key_file;
    request.ssh.known_hosts = known_hosts();
    request.ssh.timeout_seconds = 5;
    return request;
  }

  std::string Text() const { return server.Address(folder / "remote"); }

  // Every file below the remote folder with its bytes.
  std::map<std::string, std::string> Remote() const {
    std::map<std::string, std::string> files;
    for (const std::string& path : fs.FilesBelow(remote()))
      files[path] = fs.ReadFile(remote() + path);
    return files;
  }
  std::map<std::string, std::string> Local() const {
    std::map<std::string, std::string> files;
    for (const std::string& path : fs.FilesBelow(site())) files[path] = fs.ReadFile(site() + path);
    return files;
  }

  SshServer server;
};

TEST_F(SftpPublishTest, AFirstPublishSendsEveryFileAndAfterOneEditOnlyThatOne) {
  for (int i = 0; i < 120; ++i)
    Site("pages/p" + std::to_string(i) + ".html", "page " + std::to_string(i));
  PublishOutcome first = Publish(Request());
  ASSERT_EQ(first.end, PublishEnd::kCompleted) << first.failure;
  EXPECT_EQ(first.sent, 123);
  EXPECT_EQ(Remote(), Local());

  // The same size, other contents, over an existing file: the hash tells, the rename replaces.
  Site("news/today.html", "<p>TODAY</p>\r\n");
  PublishOutcome second = Publish(Request());
  EXPECT_EQ(second.sent, 1);
  EXPECT_EQ(FileLines(), std::vector<std::string>{"Sent: news/today.html"});
  EXPECT_EQ(Remote(), Local());
}

TEST_F(SftpPublishTest, DeleteRemovesWhatIsNoLongerGeneratedAndADryRunChangesNothing) {
  Publish(Request());
  fs.RemoveFile(site() + "news/old.html");
  Site("index.html", "<h1>New home</h1>\r\n");
  const auto before = Remote();

  PublishRequest dry = Request();
  dry.dry_run = true;
  dry.stale = StaleFiles::kRemove;
  dry.verify = true;
  EXPECT_EQ(Publish(dry).end, PublishEnd::kCompleted);
  EXPECT_EQ(FileLines(),
            (std::vector<std::string>{"Would send: index.html", "Would remove: news/old.html"}));
  EXPECT_EQ(Remote(), before);

  PublishRequest remove = Request();
  remove.stale = StaleFiles::kRemove;
  PublishOutcome outcome = Publish(remove);
  EXPECT_EQ(outcome.removed, 1);
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"Sent: index.html", "Removed: news/old.html"}));
  EXPECT_EQ(Remote(), Local());
}

TEST_F(SftpPublishTest, AnUnknownHostKeyIsRefusedWithItsFingerprintUnlessTrusted) {
  fs.RemoveFile(known_hosts());
  const std::string key = "ssh-ed25519 " + server.HostKeyFingerprint();
  PublishRequest request = Request();
  request.ssh.unknown_host_key_advice = "; trust it with --accept-new-host-key";
  PublishOutcome refused = Publish(request);
  EXPECT_EQ(refused.failure, "Cannot publish to " + Text() +
                                 ": the host key of 127.0.0.1 is not known (" + key +
                                 "); trust it with --accept-new-host-key.");
  EXPECT_TRUE(Remote().empty());

  std::vector<std::string> asked;
  request.ssh.trust_new_host_key = [&](const std::string& host, const std::string& fingerprint) {
    asked.push_back(host + " " + fingerprint);
    return true;
  };
  EXPECT_EQ(Publish(request).end, PublishEnd::kCompleted);
  EXPECT_EQ(asked, std::vector<std::string>{"127.0.0.1 " + key});
  // Recorded: the next publish asks nobody.
  EXPECT_NE(fs.ReadFile(known_hosts()).find("[127.0.0.1]:" + std::to_string(server.port())),
            std::string::npos);
  Site("index.html", "<h1>Again</h1>\r\n");
  asked.clear();
  EXPECT_EQ(Publish(request).sent, 1);
  EXPECT_TRUE(asked.empty());
}

TEST_F(SftpPublishTest, AChangedHostKeyIsAlwaysRefused) {
  ASSERT_EQ(server.ReplaceHostKey(), "");
  PublishRequest request = Request();
  bool asked = false;
  request.ssh.trust_new_host_key = [&](const std::string&, const std::string&) {
    asked = true;
    return true;
  };
  PublishOutcome outcome = Publish(request);
  EXPECT_EQ(outcome.failure, "Cannot publish to " + Text() +
                                 ": the host key of 127.0.0.1 has changed (it is now ssh-ed25519 " +
                                 server.HostKeyFingerprint() +
                                 "), so publishing there is refused. If the server's key was "
                                 "replaced on purpose, remove its old entry from " +
                                 known_hosts() + ".");
  EXPECT_FALSE(asked);
  EXPECT_TRUE(Remote().empty());
}

TEST_F(SftpPublishTest, ConnectionFailuresSayWhatFailedInOneSentence) {
  // A port that refuses, and one that takes the connection and never answers.
  int closed_port = 0;
  ::close(LoopbackSocket(false, closed_port));
  int silent_port = 0;
  const int silent = LoopbackSocket(true, silent_port);
  const std::string user = server.user();
  const std::string locked = folder / "locked";
  ::mkdir(locked.c_str(), 0555);
  const struct {
    std::string address;
    std::string key;
    std::string reason;
  } cases[] = {
      {"sftp://" + user + "@127.0.0.1:" + std::to_string(closed_port) + "/www", "",
       "127.0.0.1 port " + std::to_string(closed_port) + " refused the connection."},
      {"sftp://" + user + "@127.0.0.1:" + std::to_string(silent_port) + "/www", "",
       "127.0.0.1 port " + std::to_string(silent_port) + " did not answer within 1 second."},
      {server.Address(folder / "remote"), server.OtherKey(),
       "127.0.0.1 did not accept the key in " + server.OtherKey() + " for the user " + user +
           " (authentication failed)."},
      {server.Address(folder / "remote"), folder / "no-such-key",
       "the key file " + folder / "no-such-key" + " does not exist."},
      {server.Address(locked + "/www"), "",
       "permission denied on the remote folder " + locked + " on 127.0.0.1."},
      {server.Address(folder / "missing/www"), "",
       "the folder " + folder / "missing/www" +
           " does not exist on 127.0.0.1, nor does the folder that would hold it."},
  };
  for (const auto& c : cases) {
    PublishRequest request = Request(c.key);
    ASSERT_EQ(ParseDestination(c.address, request.destination), "");
    request.destination.key_file = c.key.empty() ? server.UserKey() : c.key;
    request.ssh.timeout_seconds = 1;
    PublishOutcome outcome = Publish(request);
    EXPECT_EQ(outcome.end, PublishEnd::kFailed);
    EXPECT_EQ(outcome.failure, "Cannot publish to " + c.address + ": " + c.reason);
  }
  ::close(silent);
}

TEST_F(SftpPublishTest, AFullRemoteDiskIsNamedAndTheOldFilesStayWhole) {
  // A small file system of the test's own; only root may mount one.
  const std::string small = folder / "small";
  server.MakeWritableFolder(small);
  if (::mount("tmpfs", small.c_str(), "tmpfs", 0, "size=64k,mode=0777") != 0) {
    GTEST_SKIP() << "no small file system can be mounted here";
  }
  struct Unmount {
    std::string path;
    ~Unmount() { ::umount(path.c_str()); }
  } unmount{small};
  PublishRequest request = Request();
  ParseDestination(server.Address(small), request.destination);
  request.destination.key_file = server.UserKey();
  ASSERT_EQ(Publish(request).end, PublishEnd::kCompleted);
  Site("news/today.html", std::string(200 * 1024, 'x'));
  PublishOutcome outcome = Publish(request);
  EXPECT_EQ(outcome.failure, "Cannot publish to " + server.Address(small) +
                                 ": the disk of 127.0.0.1 is full (writing " + small +
                                 "/news/today.html).");
  EXPECT_EQ(fs.ReadFile(small + "/news/today.html"), "<p>Today</p>\r\n");
  EXPECT_FALSE(fs.FileExists(small + "/news/.today.html.pentrak-new"));
}

// pentrak-cli publish in a child process, killed while a file is half-way there: every file at
// the destination is then the old one or the new one, and the next publish finishes the job.
TEST_F(SftpPublishTest, APublishKilledMidTransferLeavesNoHalfFileAndTheNextOneCompletes) {
  // Large files take many pieces each, so that some file is always half-way.
  for (int i = 0; i < 40; ++i) {
    Site("media/clip" + std::to_string(i) + ".bin",
         std::string(1 << 20, static_cast<char>('a' + i % 26)));
  }
  fs.WriteFile(folder / "site.web", "name=Site\r\ndocument-root=" + site() + "\r\n");
  std::string command = "exec " PENTRAK_TEST_BINARY_DIR "/pentrak-cli --home " + folder / "home" +
                        " publish " + folder / "site.web" + " --to " + Text() + " --key-file " +
                        server.UserKey() + " --known-hosts " + known_hosts() + " >/dev/null";
  // Runs the publish; with kill, ends it at once when some files are whole there and one is
  // half-way under its temporary name.
  auto run = [&](bool kill) {
    pid_t pid = ::fork();
    if (pid == 0) {
      ::execl("/bin/sh", "sh", "-c", command.c_str(), nullptr);
      ::_exit(127);
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    int status = 0;
    while (::waitpid(pid, &status, WNOHANG) == 0) {
      std::vector<std::string> files;
      if (kill && fs.FolderExists(remote() + "media")) files = fs.FilesBelow(remote() + "media");
      auto halves = std::count_if(files.begin(), files.end(), IsTemporaryName);
      if ((halves > 0 && static_cast<std::size_t>(halves) < files.size()) ||
          std::chrono::steady_clock::now() > deadline) {
        ::kill(pid, SIGKILL);
      }
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    return status;
  };
  int killed = run(true);
  ASSERT_TRUE(WIFSIGNALED(killed)) << "the publish ended before it could be killed";
  int whole = 0;
  for (const auto& [path, bytes] : Remote()) {
    if (IsTemporaryName(FileNameOfPath(path))) continue;
    EXPECT_EQ(bytes, fs.ReadFile(site() + path)) << path;
    ++whole;
  }
  EXPECT_GT(whole, 0);
  EXPECT_LT(whole, 43);

  int again = run(false);
  ASSERT_TRUE(WIFEXITED(again) && WEXITSTATUS(again) == 0) << again;
  EXPECT_EQ(Remote(), Local());
}

}  // namespace
}  // namespace pentrak
