#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <map>
#include <sstream>
#include <thread>

#include "cli/cli.h"
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

  // Runs "pentrak-cli --home <folder>/home" + arguments in this process; its exit status.
  int Cli(const std::string& arguments) {
    std::vector<std::string> words = {"pentrak-cli", "--home", folder / "home"};
    std::istringstream split(arguments);
    for (std::string word; split >> word;) words.push_back(word);
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    std::ostringstream out;
    std::ostringstream err;
    std::istringstream in;
    return cli::Run(static_cast<int>(argv.size()), argv.data(), out, err, in);
  }

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

TEST_F(SftpPublishTest, AFirstPublishSendsEveryFileAndAfterOneContentEditOnlyThatDocument) {
  // A project of 100 documents, each from the one template and a content file of its own.
  std::string definition = "[Pages]\r\n";
  for (int d = 0; d < 100; ++d) {
    const std::string name = "d" + std::to_string(d);
    definition += name + ".html,page.tpl," + name + ".par\r\n";
    fs.WriteFile(folder / name + ".par", "[@TEXT]:\r\nPage " + std::to_string(d) + "\r\n[@]\r\n");
  }
  fs.WriteFile(folder / "project.txt", definition);
  fs.WriteFile(folder / "page.tpl", "<p>[@TEXT]</p>\r\n");
  fs.WriteFile(folder / "site.web", "name=Site\r\ndocument-root=" + site() +
                                        "\r\ncontent-root=" + folder.path() +
                                        "/\r\ndefinition-file=project.txt\r\n"
                                        "max-docs=100\r\n");
  ASSERT_EQ(Cli("generate " + folder / "site.web"), 0);
  PublishOutcome first = Publish(Request());
  ASSERT_EQ(first.end, PublishEnd::kCompleted) << first.failure;
  // The site's 100 documents and the three pages the fixture wrote.
  EXPECT_EQ(first.sent, 103);
  EXPECT_EQ(Remote(), Local());

  fs.WriteFile(folder / "d42.par", "[@TEXT]:\r\nPage 42, edited\r\n[@]\r\n");
  ASSERT_EQ(Cli("generate " + folder / "site.web"), 0);
  PublishOutcome second = Publish(Request());
  EXPECT_EQ(second.sent, 1);
  EXPECT_EQ(FileLines(), std::vector<std::string>{"Sent: d42.html"});
  EXPECT_EQ(fs.ReadFile(remote() + "d42.html"), "<p>Page 42, edited</p>\r\n");
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

// pentrak-cli publish in a child process, killed in the middle of the transfer: every file at
// the destination is then the old one or the new one, and the next publish finishes the job.
TEST_F(SftpPublishTest, APublishKilledMidTransferLeavesNoHalfFileAndTheNextOneCompletes) {
  // Large files take many pieces each over SFTP, so that some file is always half-way there.
  for (int i = 0; i < 40; ++i) {
    Site("media/clip" + std::to_string(i) + ".bin",
         std::string(1 << 20, static_cast<char>('a' + i % 26)));
  }
  fs.WriteFile(folder / "site.web", "name=Site\r\ndocument-root=" + site() + "\r\n");
  // A folder has no pieces to catch half-way: it is killed once some files are there.
  const struct {
    std::string to;
    std::string folder;
    bool half_way;
  } destinations[] = {{Text(), remote(), true}, {folder / "www", folder / "www/", false}};
  for (const auto& d : destinations) {
    const std::string command = PENTRAK_TEST_BINARY_DIR "/pentrak-cli --home " + folder / "home" +
                                " publish " + folder / "site.web" + " --to " + d.to +
                                " --key-file " + server.UserKey() + " --known-hosts " +
                                known_hosts() + " >/dev/null";
    // Runs the publish; with kill, ends it as soon as the destination shows what d asks for.
    auto run = [&](bool kill) {
      pid_t pid = ::fork();
      if (pid == 0) {
        ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), nullptr);
        ::_exit(127);
      }
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
      int status = 0;
      while (::waitpid(pid, &status, WNOHANG) == 0) {
        std::vector<std::string> files;
        if (kill && fs.FolderExists(d.folder + "media")) files = fs.FilesBelow(d.folder + "media");
        auto halves = std::count_if(files.begin(), files.end(), IsTemporaryName);
        bool whole = static_cast<std::size_t>(halves) < files.size();
        if ((whole && (halves > 0 || !d.half_way)) || std::chrono::steady_clock::now() > deadline) {
          ::kill(pid, SIGKILL);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(200));
      }
      return status;
    };
    int killed = run(true);
    ASSERT_TRUE(WIFSIGNALED(killed)) << d.to << ": the publish ended before it could be killed";
    int whole = 0;
    for (const std::string& path : fs.FilesBelow(d.folder)) {
      if (IsTemporaryName(FileNameOfPath(path))) continue;
      EXPECT_EQ(fs.ReadFile(d.folder + path), fs.ReadFile(site() + path)) << d.to << path;
      ++whole;
    }
    EXPECT_GT(whole, 0) << d.to;
    EXPECT_LT(whole, 43) << d.to;

    int again = run(false);
    ASSERT_TRUE(WIFEXITED(again) && WEXITSTATUS(again) == 0) << d.to << again;
    for (const std::string& path : fs.FilesBelow(site())) {
      EXPECT_EQ(fs.ReadFile(d.folder + path), fs.ReadFile(site() + path)) << d.to << path;
    }
    EXPECT_EQ(fs.FilesBelow(d.folder), fs.FilesBelow(site())) << d.to;
  }
}

}  // namespace
}  // namespace pentrak
