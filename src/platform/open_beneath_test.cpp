#include "platform/open_beneath.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

std::string Contents(const FoundBeneath& found) {
  std::string bytes(found.size, '\0');
  bytes.resize(ReadAt(found.file, 0, bytes.data(), bytes.size()));
  return bytes;
}

TEST(OpenBeneathTest, FollowsLinksOnlyWhileTheyStayBelowTheFolder) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolderPath(folder / "root/docs/deep/");
  fs.WriteFile(folder / "root/index.html", "home");
  fs.WriteFile(folder / "root/docs/page.html", "page");
  fs.WriteFile(folder / "secret.txt", "secret");
  const std::string root = folder / "root";
  const struct {
    const char* name;
    std::string target;
  } kLinks[] = {
      {"root/same.html", "docs/page.html"},
      {"root/docs/deep/back.html", "../../index.html"},
      {"root/docs/up.txt", "../../secret.txt"},
      {"root/absolute.html", root + "/docs/page.html"},
      {"root/by-alias.html",
       folder / "alias/docs/page.html"},  // the root as named, not its real path
      {"alias", "root"},
      {"root/absolute-out.txt", folder / "secret.txt"},
      {"root/look-alike.txt", root + "-other/x"},  // the root's path plus more, not below it
      {"root/docs-link", "docs"},
      {"root/loop", "loop"},
      {"root/dangling", "missing.html"},
  };
  for (const auto& link : kLinks) {
    ASSERT_EQ(::symlink(link.target.c_str(), (folder / link.name).c_str()), 0) << link.name;
  }
  ASSERT_EQ(::mkfifo((folder / "root/pipe").c_str(), 0600), 0);
  using Kind = FoundBeneath::Kind;
  const struct {
    std::string relative;
    int error;
    Kind kind;
    std::string contents;  // of a file
  } kCases[] = {
      {"index.html", 0, Kind::kFile, "home"},
      {"docs//./page.html", 0, Kind::kFile, "page"},
      {"docs/deep/../page.html", 0, Kind::kFile, "page"},
      {"same.html", 0, Kind::kFile, "page"},
      {"docs/deep/back.html", 0, Kind::kFile, "home"},
      {"absolute.html", 0, Kind::kFile, "page"},
      {"docs-link/page.html", 0, Kind::kFile, "page"},
      {"", 0, Kind::kFolder, ""},
      {"docs-link", 0, Kind::kFolder, ""},
      {"pipe", 0, Kind::kOther, ""},  // found without being opened, so nothing blocks
      {"../secret.txt", EXDEV, Kind::kOther, ""},
      {"docs/../../secret.txt", EXDEV, Kind::kOther, ""},
      {"docs/up.txt", EXDEV, Kind::kOther, ""},
      {"absolute-out.txt", EXDEV, Kind::kOther, ""},
      {"look-alike.txt", EXDEV, Kind::kOther, ""},
      {"loop", ELOOP, Kind::kOther, ""},
      {"dangling", ENOENT, Kind::kOther, ""},
      {"missing.html", ENOENT, Kind::kOther, ""},
      {"index.html/more", ENOTDIR, Kind::kOther, ""},
  };
  for (const auto& c : kCases) {
    FoundBeneath found = FindBeneath(root, c.relative);
    EXPECT_EQ(found.error, c.error) << c.relative;
    if (c.error != 0) continue;
    EXPECT_EQ(found.kind, c.kind) << c.relative;
    EXPECT_EQ(found.file.get() >= 0, c.kind == Kind::kFile) << c.relative;
    if (c.kind == Kind::kFile) {
      EXPECT_EQ(Contents(found), c.contents) << c.relative;
    }
  }
  EXPECT_EQ(Contents(FindBeneath(folder / "alias", "by-alias.html")), "page");
  EXPECT_EQ(FindBeneath(root, "by-alias.html").error, EXDEV);
  EXPECT_EQ(FindBeneath(folder / "no-root", "index.html").error, ENOENT);
}

}  // namespace
}  // namespace pentrak
