#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

#include "platform/error.h"
#include "platform/scratch_file.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// Makes every write past max_bytes fail with EFBIG for the life of the object.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t max_bytes) {
    ::getrlimit(RLIMIT_FSIZE, &saved_);
    saved_handler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = max_bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() {
    ::setrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, saved_handler_);
  }

 private:
  rlimit saved_{};
  void (*saved_handler_)(int) = nullptr;
};

// Sets the file mode creation mask for the life of the object.
class UmaskScope {
 public:
  explicit UmaskScope(mode_t mask) : saved_(::umask(mask)) {}
  ~UmaskScope() { ::umask(saved_); }

 private:
  mode_t saved_;
};

TEST(FileSystemTest, FailedWriteLeavesTheOldFileWhole) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "page.html";
  fs.WriteFile(path, "old page");
  {
    FileSizeLimit limit(1024);
    EXPECT_THROW(fs.WriteFile(path, std::string(8192, 'x')), Error);
  }
  EXPECT_EQ(fs.ReadFile(path), "old page");
  fs.CreateFolder(folder / "pages");
  fs.WriteFile(folder / "pages/index.html", "index");
  EXPECT_THROW(fs.WriteFile(folder / "pages", "not a folder"), Error);
  EXPECT_EQ(fs.FilesBelow(folder.path()),
            (std::vector<std::string>{"page.html", "pages/index.html"}));
}

TEST(FileSystemTest, AppendNeedsAnExistingFile) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "log.txt";
  try {
    fs.AppendLine(path, "line");
    ADD_FAILURE() << "the append succeeded";
  } catch (const Error& error) {
    EXPECT_EQ(error.number(), ENOENT);
  }
  EXPECT_FALSE(fs.FileExists(path));
  fs.WriteLines(path, {"a"});
  fs.AppendLine(path, "b");
  EXPECT_EQ(fs.ReadFile(path), "a\r\nb\r\n");
}

TEST(FileSystemTest, ReadOnlyMeansNoWriteBitAtAll) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "doc.html";
  fs.WriteFile(path, "x");
  struct Case {
    mode_t mode;
    bool read_only;
  };
  const Case cases[] = {{0644, false}, {0444, true}, {0400, true}, {0020, false}, {0002, false}};
  for (const Case& c : cases) {
    ASSERT_EQ(::chmod(path.c_str(), c.mode), 0);
    EXPECT_EQ(fs.IsReadOnly(path), c.read_only) << std::oct << c.mode;
  }
  fs.SetReadOnly(path, false);
  EXPECT_FALSE(fs.IsReadOnly(path));
  fs.SetReadOnly(path, true);
  EXPECT_TRUE(fs.IsReadOnly(path));
  EXPECT_FALSE(fs.IsReadOnly(folder / "missing.html"));
}

TEST(FileSystemTest, CreateFolderPathStopsBeforeTheLastPart) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolderPath(folder / "a/b/c");
  fs.CreateFolderPath(folder / "x\\y\\z.txt");
  EXPECT_TRUE(fs.FolderExists(folder / "a/b"));
  EXPECT_FALSE(fs.FolderExists(folder / "a/b/c"));
  EXPECT_TRUE(fs.FolderExists(folder / "x/y"));
  EXPECT_FALSE(fs.FileExists(folder / "x/y/z.txt"));
}

TEST(FileSystemTest, LastModifiedIsInWholeSeconds) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "a.par";
  fs.WriteFile(path, "x");
  timespec times[2] = {{1700000000, 999999999}, {1700000000, 999999999}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  EXPECT_EQ(fs.LastModified(path), 1700000000);
  fs.SetLastModified(path, 1600000001);
  EXPECT_EQ(fs.LastModified(path), 1600000001);
}

TEST(FileSystemTest, ReplacingInARowReusesTheSpareButNeverASharedFile) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "a.html", "old a, longer than the new one");
  fs.WriteFile(folder / "b.html", "old b");
  ASSERT_EQ(::link((folder / "b.html").c_str(), (folder / "b-link.html").c_str()), 0);

  std::string spare;
  fs.WriteFileReusing(folder / "a.html", "new a", spare);
  EXPECT_EQ(fs.ReadFile(spare), "old a, longer than the new one");
  fs.WriteFileReusing(folder / "b.html", "new b", spare);
  fs.WriteFileReusing(folder / "c.html", "new c", spare);  // no file to replace: no spare left
  EXPECT_EQ(spare, "");
  EXPECT_EQ(fs.ReadFile(folder / "a.html"), "new a");
  EXPECT_EQ(fs.ReadFile(folder / "b.html"), "new b");
  EXPECT_EQ(fs.ReadFile(folder / "b-link.html"), "old b");
  EXPECT_EQ(fs.ReadFile(folder / "c.html"), "new c");

  fs.WriteFileReusing(folder / "a.html", "newer a", spare);
  {
    FileSizeLimit limit(1024);
    EXPECT_THROW(fs.WriteFileReusing(folder / "b.html", std::string(8192, 'x'), spare), Error);
  }
  EXPECT_EQ(fs.ReadFile(folder / "b.html"), "new b");
  EXPECT_EQ(fs.FilesBelow(folder.path()),
            (std::vector<std::string>{"a.html", "b-link.html", "b.html", "c.html"}));

  fs.OverwriteFile(folder / "c.html", "c");
  EXPECT_EQ(fs.ReadFile(folder / "c.html"), "c");
}

// A pass file held open for a run is rewritten in place for every document: a shorter text
// leaves nothing of a longer one, and a link planted at its name is replaced, never written
// through.
TEST(FileSystemTest, AHeldScratchFileHoldsExactlyTheLastText) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "outside.txt", "keep");
  ASSERT_EQ(::symlink((folder / "outside.txt").c_str(), (folder / "pentrak.1").c_str()), 0);
  ScratchFile file;
  for (std::string text : {"a longer first text", "short", "", "longer again than short"}) {
    file.Rewrite(fs, folder / "pentrak.1", text);
    EXPECT_EQ(fs.ReadFile(folder / "pentrak.1"), text);
  }
  file.Finish();
  EXPECT_EQ(fs.ReadFile(folder / "outside.txt"), "keep");
}

// A run replacing a linked document and then another one used to leave the link as its spare
// and write the second document through it, into the link's target outside the site.
TEST(FileSystemTest, ALinkedDocumentIsReplacedInItsTargetAndTheLinkStays) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolder(folder / "site");
  fs.CreateFolder(folder / "outside");
  fs.WriteFile(folder / "outside/keep.txt", "kept");
  fs.WriteFile(folder / "site/b.html", "old b");
  ASSERT_EQ(::symlink("../outside/keep.txt", (folder / "site/a.html").c_str()), 0);
  ASSERT_EQ(::symlink("missing.txt", (folder / "site/dangling.html").c_str()), 0);

  std::string spare;
  fs.WriteFileReusing(folder / "site/a.html", "page a", spare);
  fs.WriteFileReusing(folder / "site/b.html", "page b", spare);
  fs.WriteFileReusing(folder / "site/dangling.html", "page d", spare);
  fs.WriteFile(folder / "site/a.html", "page a again");
  if (!spare.empty()) fs.RemoveFile(spare);

  EXPECT_EQ(fs.ReadFile(folder / "outside/keep.txt"), "page a again");
  EXPECT_EQ(fs.FilesBelow(folder / "outside"), std::vector<std::string>{"keep.txt"});
  EXPECT_EQ(fs.ReadFile(folder / "site/b.html"), "page b");
  EXPECT_EQ(fs.ReadFile(folder / "site/missing.txt"), "page d");
  for (const char* link : {"site/a.html", "site/dangling.html"}) {
    struct stat st {};
    ASSERT_EQ(::lstat((folder / link).c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << link;
  }
  struct stat st {};
  ASSERT_EQ(::lstat((folder / "site/b.html").c_str(), &st), 0);
  EXPECT_TRUE(S_ISREG(st.st_mode));
}

TEST(FileSystemTest, AReplacementKeepsTheTargetsPermissionsAndANewFileGetsTheUsualOnes) {
  TestFolder folder;
  FileSystem fs;
  UmaskScope umask(027);
  fs.WriteFile(folder / "a.html", "old a");
  fs.WriteFile(folder / "b.html", "old b");
  ::chmod((folder / "a.html").c_str(), 0600);
  ::chmod((folder / "b.html").c_str(), 0604);
  std::string spare;
  fs.WriteFileReusing(folder / "a.html", "new a", spare);  // a fresh temporary file
  fs.WriteFileReusing(folder / "b.html", "new b", spare);  // the spare that held a
  fs.WriteFileReusing(folder / "c.html", "new c", spare);  // a new file, with b's old one spare

  struct Case {
    const char* name;
    mode_t mode;
  };
  for (const Case& c : {Case{"a.html", 0600}, Case{"b.html", 0604}, Case{"c.html", 0640}}) {
    struct stat st {};
    ASSERT_EQ(::stat((folder / c.name).c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, c.mode) << c.name;
  }
}

}  // namespace
}  // namespace pentrak
