#include "platform/file_watcher.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace pentrak
