#include "platform/executable_path.h"

#include <gtest/gtest.h>

#include "platform/paths.h"

namespace pentrak {
namespace {

TEST(ExecutablePathTest, NamesTheRunningProgramWhateverArgv0Says) {
  std::string path = ExecutablePath("somewhere-else");
  EXPECT_EQ(FileNameOfPath(path), "pentrak_tests");
  EXPECT_EQ(path.front(), '/');
}

}  // namespace
}  // namespace pentrak
