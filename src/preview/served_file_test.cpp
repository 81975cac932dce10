#include "preview/served_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "platform/file_system.h"
#include "platform/open_beneath.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(MapRequestPathTest, KeepsTheNamesAndRefusesEveryWayUp) {
  const struct {
    std::string request;
    int status;
    std::string relative;
  } kCases[] = {
      {"/", 0, ""},
      {"/a/b.html", 0, "a/b.html"},
      {"//a///b/", 0, "a/b"},
      {"/./a/./b", 0, "a/b"},
      {"/...", 0, "..."},
      {"/.hidden/..x", 0, ".hidden/..x"},
      {"/a/../b", 403, ""},
      {"/..", 403, ""},
      {"/a/..", 403, ""},
      {"/a\\b", 403, ""},
      {std::string("/a\0b", 4), 403, ""},
      {"a/b", 400, ""},
      {"", 400, ""},
  };
  for (const auto& c : kCases) {
    MappedPath mapped = MapRequestPath(c.request);
    EXPECT_EQ(mapped.status, c.status) << c.request;
    EXPECT_EQ(mapped.relative, c.relative) << c.request;
  }
}

TEST(ServedBodyTest, ReadsTheFileWithTheTextPutInAtItsPlace) {
  TestFolder folder;
  FileSystem fs;
  fs.WriteFile(folder / "page", "0123456789");
  auto body = [&](std::uint64_t insert_at) {
    FoundBeneath found = FindBeneath(folder.path(), "page");
    return ServedBody(std::move(found.file), found.size, insert_at, "<s>");
  };
  const struct {
    std::uint64_t insert_at;
    std::uint64_t offset;
    std::size_t size;
    std::string read;  // one call reads no further than the next piece
  } kCases[] = {
      {4, 0, 100, "0123"},       {4, 2, 1, "2"},    {4, 4, 100, "<s>"},   {4, 5, 1, "s"},
      {4, 7, 100, "456789"},     {4, 12, 100, "9"}, {4, 13, 100, ""},     {0, 0, 100, "<s>"},
      {0, 3, 100, "0123456789"}, {10, 9, 100, "9"}, {10, 10, 100, "<s>"}, {99, 10, 100, "<s>"},
  };
  for (const auto& c : kCases) {
    std::string data(c.size, '\0');
    data.resize(body(c.insert_at).Read(c.offset, data.data(), data.size()));
    EXPECT_EQ(data, c.read) << c.insert_at << " " << c.offset;
  }
  EXPECT_EQ(body(4).size(), 13u);

  // A file cut short while it is sent ends the body early instead of sending other bytes.
  ServedBody cut = body(4);
  ASSERT_EQ(::truncate((folder / "page").c_str(), 6), 0);
  char data[100];
  EXPECT_EQ(cut.Read(7, data, sizeof data), 2u);
  EXPECT_EQ(cut.Read(9, data, sizeof data), 0u);
}

}  // namespace
}  // namespace pentrak
