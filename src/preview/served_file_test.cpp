#include "preview/served_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(ServedFileTest, ServesOnlyRegularFilesInsideTheRoot) {
  TestFolder folder;
  FileSystem fs;
  fs.CreateFolderPath(folder / "root/docs/");
  fs.CreateFolderPath(folder / "root/empty/");
  fs.WriteFile(folder / "root/index.html", "home");
  fs.WriteFile(folder / "root/docs/index.htm", "docs");
  fs.WriteFile(folder / "root/docs/a b.html", "a b");
  fs.WriteFile(folder / "secret.txt", "secret");
  ASSERT_EQ(::symlink("../secret.txt", (folder / "root/out.txt").c_str()), 0);
  ASSERT_EQ(::symlink(folder.path().c_str(), (folder / "root/up").c_str()), 0);
  ASSERT_EQ(::symlink("docs/a b.html", (folder / "root/in.html").c_str()), 0);
  ASSERT_EQ(::mkfifo((folder / "root/pipe").c_str(), 0600), 0);
  const std::string root = folder / "root";
  const struct {
    std::string request;
    int status;
    std::string file;  // below the folder, for 200; the new location, for 301
  } kCases[] = {
      {"/", 200, "root/index.html"},
      {"/docs/", 200, "root/docs/index.htm"},
      {"/docs/a b.html", 200, "root/docs/a b.html"},
      {"/in.html", 200, "root/docs/a b.html"},  // a link that stays inside
      {"/docs", 301, "/docs/"},
      {"/empty/", 403, ""},  // no listings
      {"/../secret.txt", 403, ""},
      {"/docs/../../secret.txt", 403, ""},
      {"/docs/..", 403, ""},
      {"/..\\secret.txt", 403, ""},
      {"/out.txt", 403, ""},
      {"/up/secret.txt", 403, ""},
      {"/pipe", 403, ""},
      {"/missing.html", 404, ""},
      {"index.html", 400, ""},
  };
  for (const auto& c : kCases) {
    ServedFile served = FindServedFile(root, c.request);
    EXPECT_EQ(served.status, c.status) << c.request;
    if (c.status == 200) {
      EXPECT_EQ(fs.ReadFile(served.path), fs.ReadFile(folder / c.file)) << c.request;
    }
    if (c.status == 301) {
      EXPECT_EQ(served.location, c.file);
    }
  }
  EXPECT_EQ(FindServedFile(folder / "no-such-root", "/").status, 404);
}

TEST(ServedFileTest, EncodesUrlPathsAndNamesContentTypes) {
  EXPECT_EQ(EncodedUrlPath("/a b/%é.html"), "/a%20b/%25%C3%A9.html");
  EXPECT_EQ(ContentTypeOf("/x/Page.HTM"), "text/html");
  EXPECT_EQ(ContentTypeOf("/x.y/logo.gif"), "image/gif");
  EXPECT_EQ(ContentTypeOf("/x.y/README"), "application/octet-stream");
}

}  // namespace
}  // namespace pentrak
