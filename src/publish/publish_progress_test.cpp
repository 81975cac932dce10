#include "publish/publish_progress.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

TEST(PublishProgressTest, SizesReadAsPeopleWriteThem) {
  const struct {
    std::uint64_t bytes;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},      {1, "1 byte"},         {1023, "1023 bytes"},
      {1024, "1.0 KB"},    {9216, "9.0 KB"},      {1048575, "1024.0 KB"},
      {1048576, "1.0 MB"}, {11696246, "11.2 MB"}, {5368709120, "5.0 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(ByteSize(c.bytes), c.text) << c.bytes;
}

TEST(PublishProgressTest, TheProgressLineGivesCountsPaceAndTheFileInHand) {
  PublishProgress start{0, 1250, 0, 11696246, "", 0.1};
  PublishProgress early{3, 1250, 30720, 11696246, "f000/d003.html", 0.2};
  // 1 MB sent in 2 s: 512 KB/s, and 10 MB left take 20 s.
  PublishProgress half{100, 1250, 1048576, 11534336, "f002/d000.html", 2.0};
  PublishProgress long_run{5, 10, 1048576, 1048576 * 400, "video.mp4", 1.0};
  const struct {
    PublishProgress progress;
    std::size_t width;
    const char* line;
  } cases[] = {
      {start, 0, "0 of 1250 files, 0 bytes of 11.2 MB"},
      // No rate before half a second: it would mostly measure the connection's start.
      {early, 0, "3 of 1250 files, 30.0 KB of 11.2 MB: f000/d003.html"},
      {half, 0, "100 of 1250 files, 1.0 MB of 11.0 MB, 512.0 KB/s, 20 s left: f002/d000.html"},
      {long_run, 0, "5 of 10 files, 1.0 MB of 400.0 MB, 1.0 MB/s, 6 min 39 s left: video.mp4"},
      // Too wide: the file's name loses its start.
      {half, 70, "100 of 1250 files, 1.0 MB of 11.0 MB, 512.0 KB/s, 20 s left: ...0.html"},
      {half, 60, "100 of 1250 files, 1.0 MB of 11.0 MB, 512.0 KB/s, 20 s left: ..."},
  };
  for (const auto& c : cases) EXPECT_EQ(ProgressLine(c.progress, c.width), c.line);
}

}  // namespace
}  // namespace pentrak
