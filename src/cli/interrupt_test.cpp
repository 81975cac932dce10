#include <gtest/gtest.h>
#include <sys/wait.h>

#include <csignal>
#include <cstdio>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "testing/child_process.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

constexpr int kDocuments = 2000;
constexpr int kTemplateLines = 40;

// pentrak-cli in a child process, stopped with Ctrl-C, over a project of 2,000 documents whose
// long names make the status lines of a whole run far more than a pipe holds: the child waits
// on the pipe until the test reads, so the signal always arrives in the middle of the run.
class InterruptTest : public ::testing::Test {
 protected:
  InterruptTest() {
    std::string definition = "[Pages]\r\n";
    for (int d = 0; d < kDocuments; ++d) {
      definition += Name(d) + ".html,page.tpl," + Name(d) + ".par!\r\n";
      Write("src/" + Name(d) + ".par", "[@NUMBER]:\r\n" + std::to_string(d) + "\r\n[@]\r\n");
    }
    Write("src/project.txt", definition);
    std::string page;
    for (int line = 0; line < kTemplateLines; ++line) {
      page += "<p>Line " + std::to_string(line) + " of page [@NUMBER].</p>\r\n";
    }
    Write("src/page.tpl", page);
    Write("site.web",
          "name=Site\r\ndocument-root=" + folder / "out" + "\r\ncontent-root=" + folder / "src" +
              "\r\ndefinition-file=project.txt\r\nmax-docs=" + std::to_string(kDocuments) + "\r\n");
    fs.CreateFolderPath(folder / "out/");
  }

  static std::string Name(int d) {
    char name[80];
    std::snprintf(name, sizeof name, "a-page-whose-name-is-long-enough-to-fill-a-pipe-soon-%04d",
                  d);
    return name;
  }

  // The page as generated, worked out from the template.
  static std::string Page(int d) {
    std::string page;
    for (int line = 0; line < kTemplateLines; ++line) {
      page += "<p>Line " + std::to_string(line) + " of page " + std::to_string(d) + ".</p>\r\n";
    }
    return page;
  }

  // Plain writes: the thousands of files need none of the care a user's file gets.
  void Write(const std::string& name, const std::string& text) {
    fs.CreateFolderPath(folder / name);
    std::ofstream(folder / name, std::ios::binary) << text;
  }

  // Runs "pentrak-cli --home <folder>/home arguments..." and, once stdout holds `when` (or
  // anything, when it is empty), sends the signal (0 sends none), then reads stdout to its end.
  ChildResult RunAndSignal(std::vector<std::string> arguments, int signal_number = SIGINT,
                           const std::string& when = "") {
    arguments.insert(arguments.begin(),
                     {PENTRAK_TEST_BINARY_DIR "/pentrak-cli", "--home", folder / "home"});
    bool signalled = false;
    ChildRun run;
    run.arguments = arguments;
    run.on_output = [&](pid_t child, const std::string& out) {
      if (signalled || out.find(when) == std::string::npos) return;
      ::kill(child, signal_number);
      signalled = true;
    };
    return RunChild(run);
  }

  static int Count(const std::string& text, const std::string& what) {
    int count = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
      ++count;
    }
    return count;
  }

  TestFolder folder;
  FileSystem fs;
};

TEST_F(InterruptTest, CtrlCStopsAGenerationAfterTheDocumentInHand) {
  ChildResult outcome = RunAndSignal({"generate", folder / "site.web"});
  ASSERT_TRUE(WIFEXITED(outcome.status)) << outcome.status;
  EXPECT_EQ(WEXITSTATUS(outcome.status), 1);

  std::smatch summary;
  ASSERT_TRUE(std::regex_search(
      outcome.out, summary,
      std::regex(
          "\nStopped Project:  \tSite\t\t[^\n]+\nGenerated (\\d+) of (\\d+) documents?\\.\n$")))
      << outcome.out.substr(outcome.out.size() > 400 ? outcome.out.size() - 400 : 0);
  const int generated = std::stoi(summary[1]);
  EXPECT_EQ(std::stoi(summary[2]), generated);
  EXPECT_GT(generated, 0);
  EXPECT_LT(generated, kDocuments);
  EXPECT_EQ(Count(outcome.out, "\nProcessing:\t"), generated);

  // The documents before the stop are whole; none after it was begun.
  for (int d = 0; d < kDocuments; ++d) {
    const std::string page = folder / ("out/" + Name(d) + ".html");
    if (d < generated) {
      ASSERT_EQ(fs.ReadFile(page), Page(d)) << page;
    } else {
      ASSERT_FALSE(fs.FileExists(page)) << page;
    }
  }
  const std::string log = fs.ReadFile(folder / "home/temp/pentrak.txt");
  EXPECT_EQ(Count(log, "\r\nStopped Project:  \tSite\t\t"), 1);
  EXPECT_EQ(Count(log, "\r\nTotal Documents:      " + std::to_string(generated) + "\r\n"), 1);
}

TEST_F(InterruptTest, CtrlCStopsASearchAfterTheFileInHand) {
  ChildResult outcome = RunAndSignal({"search", "NUMBER", folder / "site.web"});
  ASSERT_TRUE(WIFEXITED(outcome.status)) << outcome.status;
  EXPECT_EQ(WEXITSTATUS(outcome.status), 1);
  const int searched = Count(outcome.out, "\nSearching: ");
  EXPECT_GT(searched, 0);
  EXPECT_LT(searched, kDocuments);
  EXPECT_EQ(Count(outcome.out, "\nStopped. "), 1);
}

// A killed run leaves the spare file of its document exchange (".NAME.pentrak-new", the old text
// of the document written last) in the document root, where a publish step would upload it; the
// next run removes it.
TEST_F(InterruptTest, ARunKilledAndRunAgainLeavesNoPentrakFileAmongDocumentsAndSources) {
  for (int d = 0; d < kDocuments; ++d) Write("out/" + Name(d) + ".html", "old\r\n");
  auto pentrak_files = [&] {
    std::vector<std::string> found;
    for (const char* root : {"out", "src"}) {
      for (const std::string& name : fs.FilesBelow(folder / root)) {
        if (name.find("pentrak-") != std::string::npos) found.push_back(name);
      }
    }
    return found;
  };

  // Document 2's status line comes once documents 0 and 1 are written.
  ChildResult killed = RunAndSignal({"generate", folder / "site.web"}, SIGKILL, Name(2));
  ASSERT_TRUE(WIFSIGNALED(killed.status) && WTERMSIG(killed.status) == SIGKILL) << killed.status;
  ASSERT_FALSE(pentrak_files().empty()) << "the kill should have left the spare behind";

  ChildResult again = RunAndSignal({"generate", folder / "site.web"}, 0);
  ASSERT_TRUE(WIFEXITED(again.status)) << again.status;
  EXPECT_EQ(WEXITSTATUS(again.status), 0) << again.out;
  EXPECT_EQ(pentrak_files(), std::vector<std::string>{});
  for (int d = 0; d < kDocuments; ++d) {
    ASSERT_EQ(fs.ReadFile(folder / ("out/" + Name(d) + ".html")), Page(d)) << d;
  }
}

}  // namespace
}  // namespace pentrak
