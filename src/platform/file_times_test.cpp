#include "platform/file_times.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A run learns a time stamp once, keeps the files it asks about often at hand, and asks again
// about a file it has written: a stale answer there would leave a document out of date.
TEST(FileTimesTest, AFileForgottenIsAskedAgainEvenWhenAskedOften) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolder(folder / "sub");
  const std::string shared = folder / "sub/global.par";
  fs.WriteFile(shared, "x");
  fs.SetLastModified(shared, 1000);
  FileTimes times(fs);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(times.LastModified(shared), 1000);

  fs.SetLastModified(shared, 2000);
  EXPECT_EQ(times.LastModified(shared), 1000);  // learnt once for the run
  times.Forget(shared);
  EXPECT_EQ(times.LastModified(shared), 2000);
  EXPECT_EQ(times.StatusNow(shared).modified, 2000);

  // A missing file gives the same error every time, whether looked at through its folder's
  // handle or by its whole path.
  for (const std::string& missing : {folder / "sub/missing.par", folder / "nowhere/missing.par"}) {
    for (int i = 0; i < 2; ++i) {
      try {
        times.LastModified(missing);
        ADD_FAILURE() << missing;
      } catch (const Error& error) {
        EXPECT_EQ(error.number(), ENOENT);
      }
    }
    EXPECT_EQ(times.StatusNow(missing).error, ENOENT);
  }
  EXPECT_TRUE(times.StatusNow(folder / "sub").folder);
}

}  // namespace
}  // namespace pentrak
