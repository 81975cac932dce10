#include "publish/publish_run.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>

#include "platform/paths.h"
#include "publish/manifest.h"
#include "testing/publish_fixture.h"

namespace pentrak {
namespace {

// Publishing to a local folder: the same rules as to a server, without one.
class FolderPublishTest : public PublishFixture, public ::testing::Test {
 protected:
  FolderPublishTest() {
    Site("index.html", "<h1>Home</h1>\r\n");
    Site("news/today.html", "<p>Today</p>\r\n");
    Site("img/logo.png", std::string("\x89PNG\0\x01\x02", 7));
    fs.CreateFolderPath(destination() + "x");
  }

  std::string destination() const { return folder / "www/"; }

  PublishRequest Request(StaleFiles stale = StaleFiles::kKeep) const {
    PublishRequest request;
    request.destination.method = kPublishToFolder;
    request.destination.folder = folder / "www";
    request.stale = stale;
    return request;
  }

  // Every file below a folder with its bytes.
  std::map<std::string, std::string> Files(const std::string& root) const {
    std::map<std::string, std::string> files;
    for (const std::string& path : fs.FilesBelow(root)) files[path] = fs.ReadFile(root + path);
    return files;
  }

  std::string Manifest() const { return fs.ReadFile(ManifestPath(work(), folder / "www")); }
};

TEST_F(FolderPublishTest, TheFirstPublishSendsEveryFileAndTheNextOnlyWhatChanged) {
  // A spare file a killed generation left in the document root is no file of the site.
  Site("news/.today.html.pentrak-new", "half");
  PublishOutcome first = Publish(Request());
  EXPECT_EQ(first.end, PublishEnd::kCompleted) << first.failure;
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"Sent: img/logo.png", "Sent: index.html",
                                                   "Sent: news/today.html"}));
  // 7 + 15 + 14 bytes.
  EXPECT_EQ(ui.status_lines.back(), "Sent 3 of 3 files (36 bytes), removed 0 files; 0 unchanged.");
  std::map<std::string, std::string> site_files = Files(site());
  site_files.erase("news/.today.html.pentrak-new");
  EXPECT_EQ(Files(destination()), site_files);

  // Same size, other contents: only the hash can tell.
  Site("news/today.html", "<p>TODAY</p>\r\n");
  PublishOutcome second = Publish(Request());
  EXPECT_EQ(second.sent, 1);
  EXPECT_EQ(second.unchanged, 2);
  EXPECT_EQ(FileLines(), std::vector<std::string>{"Sent: news/today.html"});
  EXPECT_EQ(fs.ReadFile(destination() + "news/today.html"), "<p>TODAY</p>\r\n");

  const std::string manifest = Manifest();
  PublishOutcome third = Publish(Request());
  EXPECT_EQ(third.sent, 0);
  EXPECT_EQ(third.unchanged, 3);
  EXPECT_EQ(Manifest(), manifest);

  const std::string log = fs.ReadFile(work_files.log_file);
  EXPECT_TRUE(log.starts_with("Completed Project:\r\n\r\nStarting Publish: \tSite\t\t")) << log;
  EXPECT_NE(log.find("\r\n          >To " + folder / "www" + "\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\n          Sent: news/today.html\r\n"), std::string::npos);
  EXPECT_NE(log.find("\r\nCompleted Publish:\tSite\t\t"), std::string::npos);
  EXPECT_TRUE(log.ends_with("\r\nSent 0 of 3 files (0 bytes), removed 0 files; 3 unchanged.\r\n"));
}

TEST_F(FolderPublishTest, FilesNoLongerGeneratedAreRemovedOnlyWhenAskedFor) {
  Publish(Request());
  fs.RemoveFile(site() + "news/today.html");

  PublishOutcome kept = Publish(Request());
  EXPECT_EQ(kept.kept, 1);
  EXPECT_TRUE(fs.FileExists(destination() + "news/today.html"));
  EXPECT_EQ(ui.status_lines.back(),
            "Sent 0 of 2 files (0 bytes), removed 0 files; 2 unchanged; 1 file no longer "
            "generated kept.");

  ui.message_answers = {Answer::kNo};
  EXPECT_EQ(Publish(Request(StaleFiles::kAsk)).removed, 0);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].text, "1 file at " + folder / "www" +
                                     " is no longer generated. Remove it once the new files "
                                     "are sent?");
  EXPECT_TRUE(fs.FileExists(destination() + "news/today.html"));

  PublishOutcome removed = Publish(Request(StaleFiles::kRemove));
  EXPECT_EQ(removed.removed, 1);
  EXPECT_EQ(FileLines(), std::vector<std::string>{"Removed: news/today.html"});
  // The folder it emptied goes with it; the site's own folders stay.
  EXPECT_FALSE(fs.FolderExists(destination() + "news"));
  EXPECT_TRUE(fs.FileExists(destination() + "img/logo.png"));
  EXPECT_EQ(Manifest().find("news/today.html"), std::string::npos);
}

TEST_F(FolderPublishTest, ADryRunListsWhatWouldHappenAndChangesNothing) {
  Publish(Request());
  Site("index.html", "<h1>Home, changed</h1>\r\n");
  Site("new.html", "new\r\n");
  fs.RemoveFile(site() + "img/logo.png");
  const auto before = Files(destination());
  const std::string manifest = Manifest();
  const std::string log = fs.ReadFile(work_files.log_file);

  // The window's request, which would ask about removals: a dry run lists them without asking.
  PublishRequest request = Request(StaleFiles::kAsk);
  request.dry_run = true;
  PublishOutcome outcome = Publish(request);
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"Would send: index.html", "Would send: new.html",
                                                   "Would remove: img/logo.png"}));
  EXPECT_EQ(ui.status_lines.back(),
            "Would send 2 of 3 files (29 bytes), remove 1 file; 1 unchanged.");
  EXPECT_EQ(outcome.sent, 2);
  EXPECT_EQ(Files(destination()), before);
  EXPECT_EQ(Manifest(), manifest);
  EXPECT_EQ(fs.ReadFile(work_files.log_file), log);
}

TEST_F(FolderPublishTest, WithoutAManifestTheDestinationsFilesAreComparedByContents) {
  fs.WriteFile(destination() + "index.html", "<h1>Home</h1>\r\n");  // the same
  fs.CreateFolderPath(destination() + "news/x");
  fs.WriteFile(destination() + "news/today.html", "<p>Older</p>\r\n");   // same size
  fs.WriteFile(destination() + "news/.today.html.pentrak-new", "half");  // a leftover
  fs.WriteFile(destination() + "robots.txt", "User-agent: *\r\n");       // not the site's

  PublishOutcome outcome = Publish(Request());
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"Sent: img/logo.png", "Sent: news/today.html"}));
  EXPECT_EQ(outcome.unchanged, 1);
  // Nobody published robots.txt, so it is nobody's to remove.
  EXPECT_EQ(outcome.kept, 0);
  EXPECT_FALSE(fs.FileExists(destination() + "news/.today.html.pentrak-new"));
  EXPECT_EQ(fs.ReadFile(destination() + "news/today.html"), "<p>Today</p>\r\n");
  EXPECT_TRUE(fs.FileExists(destination() + "robots.txt"));
}

TEST_F(FolderPublishTest, VerifyFindsWhatChangedAtTheDestinationBehindTheManifest) {
  Publish(Request());
  fs.WriteFile(destination() + "index.html", "edited on the server\r\n");
  fs.RemoveFile(destination() + "img/logo.png");
  EXPECT_EQ(Publish(Request()).sent, 0);

  PublishRequest request = Request();
  request.verify = true;
  EXPECT_EQ(Publish(request).sent, 2);
  EXPECT_EQ(FileLines(), (std::vector<std::string>{"Sent: img/logo.png", "Sent: index.html"}));
  EXPECT_EQ(Files(destination()), Files(site()));
}

TEST_F(FolderPublishTest, AFailedWriteEndsThePublishWithOneSentenceAndTheNextFinishesTheJob) {
  Publish(Request());
  Site("index.html", "<h1>Home 2</h1>\r\n");
  Site("news/today.html", "<p>Today 2</p>\r\n");
  const std::string www = folder / "www";
  const struct {
    int error;
    std::string failure;
  } cases[] = {
      {ENOSPC, "Cannot publish to " + www + ": the disk is full (writing " + destination() +
                   "news/today.html)."},
      {EACCES, "Cannot publish to " + www + ": permission denied on the folder " + destination() +
                   "news/."},
  };
  for (const auto& c : cases) {
    fs.SetFaultHook([&](FileOp op, const std::string& path) {
      return op == FileOp::kWrite && path.ends_with("www/news/today.html") ? c.error : 0;
    });
    PublishOutcome failed = Publish(Request());
    EXPECT_EQ(failed.end, PublishEnd::kFailed);
    EXPECT_EQ(failed.failure, c.failure);
    EXPECT_EQ(fs.ReadFile(destination() + "news/today.html"), "<p>Today</p>\r\n");
    EXPECT_NE(fs.ReadFile(work_files.log_file).find("          ERROR: " + c.failure + "\r\n"),
              std::string::npos);
  }
  fs.SetFaultHook(nullptr);
  PublishOutcome again = Publish(Request());
  // index.html went out before the failures and the manifest says so.
  EXPECT_EQ(FileLines(), std::vector<std::string>{"Sent: news/today.html"});
  EXPECT_EQ(Files(destination()), Files(site()));
  EXPECT_EQ(again.end, PublishEnd::kCompleted);
}

TEST_F(FolderPublishTest, AStopEndsTheTransferAndLeavesEveryFileOldOrNew) {
  for (int i = 0; i < 200; ++i)
    Site("pages/p" + std::to_string(i) + ".html", std::string(4000, 'a'));
  // Servicings 1 to 4 come while the 203 files are hashed (one per 64), the fifth is the
  // transfer's first look.
  ui.stop_on_service_call = 5;
  PublishOutcome stopped = Publish(Request());
  EXPECT_EQ(stopped.end, PublishEnd::kStopped);
  EXPECT_EQ(ui.status_lines[ui.status_lines.size() - 2].substr(0, 19), "Stopped Publish:  \t");
  for (const auto& [path, bytes] : Files(destination())) {
    EXPECT_EQ(bytes, fs.ReadFile(site() + path)) << path;
  }
  ui.stop_on_service_call = 0;
  PublishOutcome rest = Publish(Request());
  EXPECT_EQ(rest.sent + stopped.sent, 203);
  EXPECT_EQ(Files(destination()), Files(site()));
}

TEST_F(FolderPublishTest, DestinationsThatCannotBeUsedAreRefusedBeforeAnythingIsSent) {
  const std::string site_path = site();
  const struct {
    std::string folder;
    std::string failure;
  } cases[] = {
      {site() + "copy", "Cannot publish to " + site() + "copy: the folder and the document root " +
                            site_path + " lie inside one another."},
      {folder.path(), "Cannot publish to " + folder.path() + ": the folder and the document root " +
                          site_path + " lie inside one another."},
      {folder / "missing/www", "Cannot publish to " + folder / "missing/www" +
                                   ": the folder does not exist, nor does the folder that would "
                                   "hold it."},
  };
  for (const auto& c : cases) {
    PublishRequest request = Request();
    request.destination.folder = c.folder;
    PublishOutcome outcome = Publish(request);
    EXPECT_EQ(outcome.end, PublishEnd::kFailed) << c.folder;
    EXPECT_EQ(outcome.failure, c.failure);
  }
  EXPECT_FALSE(fs.FolderExists(site() + "copy"));
  std::filesystem::remove_all(site());
  EXPECT_EQ(Publish(Request()).failure, "Cannot publish to " + folder / "www" +
                                            ": the document root " + site_path +
                                            " does not exist; generate the site first.");
}

}  // namespace
}  // namespace pentrak
