#include "platform/file_watcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

using std::chrono::milliseconds;

// Collects what the watcher reports within a while; the polling one needs a poll or two.
std::vector<std::string> ChangesWithin(FileWatcher& watcher) {
  std::vector<std::string> all;
  for (int i = 0; i < 20 && all.empty(); ++i) {
    for (std::string& path : watcher.Poll(milliseconds(25))) all.push_back(std::move(path));
  }
  return all;
}

TEST(FileWatcherTest, ReportsWritesReplacementsCreationAndRemovalOfWatchedFilesOnly) {
  for (bool polling : {false, true}) {
    TestFolder folder;
    FileSystem fs;
    fs.CreateFolderPath(folder / "sub/");
    fs.WriteFile(folder / "a.par", "a");
    fs.WriteFile(folder / "sub/b.tpl", "b");
    std::unique_ptr<FileWatcher> watcher =
        polling ? MakePollingFileWatcher(milliseconds(10)) : MakeFileWatcher();
    // Watched as a project writes them: one with "\" separators, one not there yet.
    const std::string a = folder / "a.par";
    const std::string b = folder.path() + "\\sub\\b.tpl";
    const std::string c = folder / "sub/c.par";
    watcher->Watch({a, b, c});
    EXPECT_TRUE(watcher->Poll(milliseconds(30)).empty());

    const struct {
      std::function<void()> change;
      std::vector<std::string> reported;
    } kSteps[] = {
        {[&] { fs.WriteFile(folder / "a.par", "a, longer"); }, {a}},
        {[&] {
           fs.WriteFile(folder / "sub/new", "b2, longer");
           fs.RenameFile(folder / "sub/new", folder / "sub/b.tpl");
         },
         {b}},
        {[&] { fs.WriteFile(folder / "sub/c.par", "c"); }, {c}},
        {[&] { fs.RemoveFile(folder / "a.par"); }, {a}},
        {[&] { fs.WriteFile(folder / "other.txt", "not watched"); }, {}},
    };
    for (const auto& step : kSteps) {
      step.change();
      EXPECT_EQ(ChangesWithin(*watcher), step.reported) << (polling ? "polling" : "notified");
    }
  }
}

// Sources reached through symbolic links: a folder that is a link, and a file that is one, saved
// where they lead; then the folder link pointed elsewhere, and a save in its new place.
TEST(FileWatcherTest, SeesSavesThroughLinksAndLinksPointedElsewhere) {
  TestFolder folder;
  FileSystem fs;
  for (const char* name : {"real/a.par", "other/a.par", "shared/b.par", "site/"}) {
    fs.CreateFolderPath(folder / name);
  }
  for (const char* name : {"real/a.par", "other/a.par", "shared/b.par"})
    fs.WriteFile(folder / name, name);
  ASSERT_EQ(::symlink((folder / "real").c_str(), (folder / "site/src").c_str()), 0);
  ASSERT_EQ(::symlink("../shared/b.par", (folder / "site/b.par").c_str()), 0);
  std::unique_ptr<FileWatcher> watcher = MakeFileWatcher();
  const std::string a = folder / "site/src/a.par";
  const std::string b = folder / "site/b.par";
  watcher->Watch({a, b});

  const struct {
    const char* step;
    std::function<void()> change;
    std::vector<std::string> reported;
  } kSteps[] = {
      {"saved where the folder link leads",
       [&] { fs.WriteFile(folder / "real/a.par", "a2"); },
       {a}},
      {"written where the file link leads",
       [&] { fs.OverwriteFile(folder / "shared/b.par", "b2"); },
       {b}},
      {"the folder link pointed elsewhere",
       [&] {
         ASSERT_EQ(::symlink((folder / "other").c_str(), (folder / "site/.src").c_str()), 0);
         fs.RenameFile(folder / "site/.src", folder / "site/src");
       },
       {a}},
      {"saved in the new place", [&] { fs.OverwriteFile(folder / "other/a.par", "a3"); }, {a}},
  };
  for (const auto& step : kSteps) {
    step.change();
    EXPECT_EQ(ChangesWithin(*watcher), step.reported) << step.step;
  }
}

}  // namespace
}  // namespace pentrak
