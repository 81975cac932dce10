#include <gtest/gtest.h>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

// Bad arguments end the command before anything is served or generated.
TEST(PreviewCommandTest, RefusesBadArgumentsBeforeServing) {
  CliFixture cli;
  const struct {
    std::vector<std::string> arguments;
    std::string error;  // a line of stderr
  } kCases[] = {
      {{"preview", "--port", "65536", "--no-open"},
       "pentrak-cli: --port: Value 65536 not in range 0 to 65535"},
      {{"preview", "--port", "web", "--no-open"},
       "pentrak-cli: --port: Value web not in range 0 to 65535"},
      {{"preview", "--bind", "no.such.address.invalid", "--no-open"},
       "pentrak-cli: Could not listen on no.such.address.invalid at ports 1313 to 1333."},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(cli.RunCli(c.arguments), 2) << c.arguments[2];
    EXPECT_NE(cli.err.str().find(c.error + "\n"), std::string::npos) << cli.err.str();
    EXPECT_EQ(cli.out.str().find("Serving"), std::string::npos);
  }
}

}  // namespace
}  // namespace pentrak::cli
