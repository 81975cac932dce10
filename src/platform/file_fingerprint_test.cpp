#include "platform/file_fingerprint.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>
#include <functional>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(FileFingerprintTest, AChangeIsWhatAReaderGetsNotTheStamp) {
  TestFolder folder;
  FileSystem fs;
  const std::string path = folder / "a.par";
  bool unreadable = false;
  fs.SetFaultHook([&](FileOp op, const std::string& name) {
    return unreadable && op == FileOp::kRead && name == path ? EACCES : 0;
  });
  auto set_readable = [&](bool readable) {
    unreadable = !readable;
    ::chmod(path.c_str(), readable ? 0644 : 0000);
  };
  FileFingerprint fingerprint;
  const struct {
    const char* step;
    std::function<void()> change;
    bool changed;
  } kSteps[] = {
      {"missing at the first look", [] {}, true},
      {"still missing", [] {}, false},
      {"created", [&] { fs.WriteFile(path, "one"); }, true},
      {"looked at again", [] {}, false},
      {"the same bytes written in place", [&] { fs.OverwriteFile(path, "one"); }, false},
      {"the same bytes renamed over it", [&] { fs.WriteFile(path, "one"); }, false},
      // Within one tick of the time stamps' clock: only the bytes tell.
      {"other bytes of the same size", [&] { fs.OverwriteFile(path, "two"); }, true},
      {"permissions alone", [&] { ::chmod(path.c_str(), 0600); }, false},
      {"made unreadable", [&] { set_readable(false); }, true},
      {"readable again", [&] { set_readable(true); }, true},
      {"removed", [&] { fs.RemoveFile(path); }, true},
      {"made again with the bytes it had", [&] { fs.WriteFile(path, "two"); }, true},
  };
  for (const auto& step : kSteps) {
    step.change();
    EXPECT_EQ(fingerprint.Refresh(fs, path), step.changed) << step.step;
  }
}

}  // namespace
}  // namespace pentrak
