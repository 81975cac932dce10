#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "testing/cli_fixture.h"

namespace pentrak::cli {
namespace {

// A project in the program folder: src/ holds the definition, the template and the content
// file of site/index.html.
class HostileFilesTest : public ::testing::Test, public CliFixture {
 protected:
  HostileFilesTest() {
    fs.CreateFolderPath(home / "src/");
    fs.CreateFolderPath(home / "site/");
    fs.WriteLines(project_, {"name=Site", "content-root=" + home / "src",
                             "document-root=" + home / "site", "definition-file=project.txt"});
    fs.WriteLines(home / "src/project.txt", {"[Main]", "index.html,page.tpl,page.par!"});
    fs.WriteLines(home / "src/page.tpl", {"[@TITLE]"});
    fs.WriteLines(home / "src/page.par", {"[@TITLE]:", "Home", "[@]"});
    RunCli({"projects"});  // the first run's notice is not what these tests read
  }

  // Replaces a file by a FIFO, which nothing writes to: opening it to read would wait forever.
  void MakeFifo(const std::string& path) {
    if (fs.FileExists(path)) fs.RemoveFile(path);
    ASSERT_EQ(::mkfifo(path.c_str(), 0644), 0);
  }

  const std::string project_ = home / "site.web";
};

TEST_F(HostileFilesTest, AFifoIsRefusedWithItsPathWhereverAFileIsRead) {
  const std::string not_regular = " is not a regular file";
  struct Case {
    const char* file;
    std::vector<std::string> command;
    int status;
    std::string said;  // follows the FIFO's path in the output or the log
  };
  const Case cases[] = {
      // A content file that cannot be read is the run's missing-file error.
      {"src/page.par", {"generate"}, 1, ". Project generation halted."},
      {"src/page.tpl", {"generate", "--ignore-errors"}, 1, not_regular},
      {"src/project.txt", {"generate"}, 1, not_regular},
      {"src/page.tpl", {"search", "TITLE", "--kinds", "templates"}, 1, not_regular},
      {"src/page.tpl",
       {"replace", "TITLE", "NAME", "--yes", "--kinds", "templates"},
       1,
       not_regular},
  };
  for (const Case& c : cases) {
    const std::string path = home / c.file;
    const std::string saved = fs.ReadFile(path);
    MakeFifo(path);
    std::vector<std::string> arguments = c.command;
    arguments.push_back(project_);
    EXPECT_EQ(RunCli(arguments), c.status) << c.file;
    const std::string said = out.str() + err.str() + fs.ReadFile(home / "temp/pentrak.txt");
    EXPECT_NE(said.find(path + c.said), std::string::npos) << c.file << said;
    fs.RemoveFile(path);
    fs.WriteFile(path, saved);
  }
}

TEST_F(HostileFilesTest, ADeviceAFifoOrAFolderAsProjectFileIsAClearErrorWithStatusTwo) {
  MakeFifo(home / "fifo.web");
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {"/dev/zero", "Open Project: /dev/zero is not a regular file.\n"},
      {home / "fifo.web", "Open Project: " + home / "fifo.web" + " is not a regular file.\n"},
      {home / "src", "Open Project: The project file " + home / "src" + " is a folder.\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCli({"show", c.path}), 2) << c.path;
    EXPECT_EQ(err.str(), c.message);
  }
}

}  // namespace
}  // namespace pentrak::cli
