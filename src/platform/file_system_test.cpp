#include "platform/file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include "platform/error.h"
#include "platform/test_support.h"

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
  EXPECT_EQ(fs.FilesBelow(folder.path()), std::vector<std::string>{"page.html"});
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

}  // namespace
}  // namespace pentrak
