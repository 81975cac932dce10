#include "publish/manifest.h"

#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "publish/content_hash.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(ManifestTest, EveryPathComesBackWhateverBytesItHolds) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = ManifestPath(folder.path() + "/", "sftp://web@host/srv/www");
  EXPECT_EQ(FileNameOfPath(path).size(), std::string("publish-0123456789abcdef.txt").size());
  const Manifest manifest = {
      {"index.html", {15, ContentHash("<h1>Home</h1>\r\n")}},
      {"odd/100% sure.html", {0, ContentHash("")}},
      {"odd/line\r\nbreak\tand tab.html", {3, ContentHash("abc")}},
      {"odd/%0A literally.html", {1, ContentHash("x")}},
  };
  WriteManifest(fs, path, "sftp://web@host/srv/www", manifest);
  EXPECT_EQ(ReadManifest(fs, path, "sftp://web@host/srv/www"), manifest);
  // Each entry is one line; the path's line break does not make another.
  EXPECT_EQ(fs.ReadLines(path).size(), manifest.size() + 1);
}

TEST(ManifestTest, AManifestThatCannotVouchIsNone) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "publish.txt";
  const std::string hash = ContentHash("x");
  const std::string heading = "Pentrak CMS publish manifest: /www\r\n";
  const struct {
    std::string text;
    bool usable;
  } cases[] = {
      {heading + "1\t" + hash + "\tx.html\r\n", true},
      {heading, true},
      {"Pentrak CMS publish manifest: /other\r\n1\t" + hash + "\tx.html\r\n", false},
      {heading + "one\t" + hash + "\tx.html\r\n", false},
      {heading + "1\t" + hash.substr(1) + "\tx.html\r\n", false},
      {heading + "1\t" + hash + "\t\r\n", false},
      {heading + "1\t" + hash + "\tbad%2escape.html\r\n", false},
      {heading + "1\t" + hash + "\tx.html\r\ntruncated\r\n", false},
      {"", false},
  };
  for (const auto& c : cases) {
    fs.WriteFile(path, c.text);
    EXPECT_EQ(ReadManifest(fs, path, "/www").has_value(), c.usable) << c.text;
  }
  EXPECT_FALSE(ReadManifest(fs, folder / "missing.txt", "/www").has_value());
}

TEST(ContentHashTest, TheHashIsSha256) {
  // The SHA-256 test vectors of FIPS 180-2.
  EXPECT_EQ(ContentHash(""), "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855");
  EXPECT_EQ(ContentHash("abc"), "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad");
}

}  // namespace
}  // namespace pentrak
