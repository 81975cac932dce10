#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Every kind of file a command reads, in turn a FIFO nothing writes to, for each command that
// reads it: the command ends at once, naming the FIFO as not a regular file.
TEST_F(HostileFilesTest, AFifoIsRefusedWithItsPathWhereverAFileIsRead) {
  // Opening a FIFO to read without O_NONBLOCK waits forever: end the test rather than hang.
  ::alarm(60);
  // The replace reads every file but changes none, so each case starts from the same sources.
  const std::vector<std::vector<std::string>> commands = {
      {"generate"}, {"search", "TITLE"}, {"replace", "TITLE", "TITLE", "--yes"}};
  struct Case {
    const char* file;
    int status[3];  // for each command
  };
  // A run halts (1); a search or replace that cannot list its files, or a command whose project
  // file cannot be read, ends before it starts (2).
  const Case cases[] = {{"src/page.par", {1, 1, 1}},
                        {"src/page.tpl", {1, 1, 1}},
                        {"src/project.txt", {1, 2, 2}},
                        {"site.web", {2, 2, 2}}};
  for (const Case& c : cases) {
    const std::string path = home / c.file;
    const std::string saved = fs.ReadFile(path);
    for (std::size_t i = 0; i < commands.size(); ++i) {
      SCOPED_TRACE(std::string(c.file) + " " + commands[i][0]);
      MakeFifo(path);
      std::vector<std::string> arguments = commands[i];
      arguments.push_back(project_);
      EXPECT_EQ(RunCli(arguments), c.status[i]);
      const std::string said = out.str() + err.str() + fs.ReadFile(home / "temp/pentrak.txt") +
                               fs.ReadFile(home / "temp/search.txt");
      EXPECT_NE(said.find(path + " is not a regular file"), std::string::npos) << said;
      fs.RemoveFile(path);
      fs.WriteFile(path, saved);
    }
  }
  ::alarm(0);
}

TEST_F(HostileFilesTest, ADeviceAFifoOrAFolderAsProjectFileIsAClearErrorWithStatusTwo) {
  MakeFifo(home / "fifo.web");
  // A project in the history whose file has gone is not replaced by another one without a word.
  fs.CopyFile(project_, home / "gone.web");
  ASSERT_EQ(RunCli({"show", home / "gone.web"}), 0);
  fs.RemoveFile(home / "gone.web");
  struct Case {
    std::string path;
    std::string message;
  };
  const Case cases[] = {
      {home / "gone.web",
       "Open Project: The project file " + home / "gone.web" + " does not exist.\n"},
      {"/dev/zero", "Open Project: /dev/zero is not a regular file.\n"},
      {home / "fifo.web", "Open Project: " + home / "fifo.web" + " is not a regular file.\n"},
      {home / "src", "Open Project: The project file " + home / "src" + " is a folder.\n"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RunCli({"show", c.path}), 2) << c.path;
    EXPECT_EQ(err.str(), c.message);
  }
}

// A FIFO, or a link to a device, where a document belongs is refused by name whether or not
// only modified documents are generated: with its sources older it would pass for up to date.
TEST_F(HostileFilesTest, AFifoOrADeviceWhereADocumentBelongsIsNeverTakenForUpToDate) {
  ::alarm(60);
  const std::string document = home / "site/index.html";
  const std::vector<std::string> runs[] = {{"generate", project_},
                                           {"generate", "--modified-only", project_}};
  for (const bool device : {false, true}) {
    for (const std::vector<std::string>& run : runs) {
      SCOPED_TRACE(std::string(device ? "device " : "FIFO ") + run.back());
      if (device) {
        if (fs.FileExists(document)) fs.RemoveFile(document);
        ASSERT_EQ(::symlink("/dev/null", document.c_str()), 0);
      } else {
        MakeFifo(document);
      }
      for (const char* source : {"src/page.tpl", "src/page.par"}) {
        fs.SetLastModified(home / source, 1000000000);
      }
      EXPECT_EQ(RunCli(run), 1);
      const std::string said = out.str() + err.str() + fs.ReadFile(home / "temp/pentrak.txt");
      EXPECT_NE(said.find(document + " is not a regular file"), std::string::npos) << said;
      fs.RemoveFile(document);
    }
  }
  ::alarm(0);
}

// A killed command leaves hidden temporary files (".NAME.pentrak-new") beside the files it was
// replacing. The next command that goes through that folder removes them, also when it writes
// nothing there; files that only look like them stay.
TEST_F(HostileFilesTest, EveryCommandSweepsTheLeftoversOfKilledRunsFromTheFoldersItVisits) {
  ASSERT_EQ(RunCli({"generate", project_}), 0);
  for (const char* source : {"src/page.tpl", "src/page.par"}) {
    fs.SetLastModified(home / source, 1000000000);
  }
  struct Case {
    std::vector<std::string> command;
    const char* folder;
  };
  const Case cases[] = {
      {{"generate", project_}, "site"},
      // Every document is up to date: the run writes nothing.
      {{"generate", "--modified-only", project_}, "site"},
      // Replacing a text by itself changes no file.
      {{"replace", "TITLE", "TITLE", "--yes", project_}, "src"},
      {{"fix-line-endings", home / "src/page.par"}, "src"},
  };
  // The files below a folder with "pentrak-new" in their names.
  auto lookalikes = [&](const std::string& folder) {
    std::vector<std::string> names = fs.FilesBelow(folder);
    std::erase_if(names, [](const std::string& name) {
      return name.find("pentrak-new") == std::string::npos;
    });
    return names;
  };
  Write("outside.txt", "the user's");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.command[0] + " " + c.command[1]);
    const std::string folder = home / c.folder;
    Write(std::string(c.folder) + "/.index.html.pentrak-new", "the old page, left by a kill");
    Write(std::string(c.folder) + "/.page.par.pentrak-new", "half a content file");
    Write(std::string(c.folder) + "/notes.pentrak-new", "not hidden: the user's");
    Write(std::string(c.folder) + "/.pentrak-new", "no name before the suffix");
    Write(std::string(c.folder) + "/.kept.pentrak-new/inside", "a folder");
    ::symlink((home / "outside.txt").c_str(), (folder + "/.link.pentrak-new").c_str());
    EXPECT_EQ(RunCli(c.command), 0) << err.str();
    EXPECT_EQ(lookalikes(folder),
              (std::vector<std::string>{".kept.pentrak-new/inside", ".link.pentrak-new",
                                        ".pentrak-new", "notes.pentrak-new"}));
    EXPECT_EQ(fs.ReadFile(home / "outside.txt"), "the user's");
  }
  EXPECT_EQ(fs.ReadFile(home / "site/index.html"), "Home\r\n");
}

}  // namespace
}  // namespace pentrak::cli
