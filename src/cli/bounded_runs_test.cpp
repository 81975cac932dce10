#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "testing/test_folder.h"

#ifndef __has_feature
#define __has_feature(feature) 0
#endif
#if defined(__SANITIZE_ADDRESS__) || __has_feature(address_sanitizer)
// The sanitizer reserves terabytes of address space: a limit on it stops nothing but the program.
constexpr bool kAddressSpaceLimited = false;
#else
constexpr bool kAddressSpaceLimited = true;
#endif

namespace pentrak {
namespace {

constexpr rlim_t kMiB = rlim_t{1} << 20;

// pentrak-cli in a child process under resource limits, on projects whose legal settings once let
// a run take the machine's memory or disk: the program bounds them itself, the limits only keep
// a regression from taking the machine with it.
class BoundedRunsTest : public ::testing::Test {
 protected:
  // Runs "pentrak-cli --home <folder>/home arguments..." in at most address_space bytes of
  // address space (where it can be limited: a run that needs more fails) and with files of at
  // most file_size bytes; returns its exit status (-1 when it did not exit) and keeps its stderr.
  int Run(std::vector<std::string> arguments, rlim_t address_space, rlim_t file_size) {
    arguments.insert(arguments.begin(),
                     {PENTRAK_TEST_BINARY_DIR "/pentrak-cli", "--home", folder / "home"});
    std::vector<char*> argv;
    for (std::string& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);
    const std::string err_path = folder / "stderr.txt";
    pid_t pid = ::fork();
    if (pid == 0) {
      const rlimit files{file_size, file_size};
      const rlimit memory{address_space, address_space};
      const rlimit cpu{120, 120};  // a runaway ends here, whatever else fails
      int err_fd = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      int null_fd = ::open("/dev/null", O_WRONLY);
      if (::setrlimit(RLIMIT_FSIZE, &files) != 0 || ::setrlimit(RLIMIT_CPU, &cpu) != 0 ||
          (kAddressSpaceLimited && ::setrlimit(RLIMIT_AS, &memory) != 0) || err_fd < 0 ||
          null_fd < 0 || ::dup2(null_fd, STDOUT_FILENO) < 0 || ::dup2(err_fd, STDERR_FILENO) < 0) {
        ::_exit(126);
      }
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return -1;
    err = fs.ReadFile(err_path);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Plain writes: these files need none of the care a user's file gets.
  void Write(const std::string& name, const std::string& text) {
    fs.CreateFolderPath(folder / name);
    std::ofstream(folder / name, std::ios::binary) << text;
  }

  // A project file over src/ and site/ with the given extra settings.
  void WriteProject(const std::string& settings) {
    Write("site.web", "name=Site\r\ncontent-root=" + folder / "src" + "\r\ndocument-root=" +
                          folder / "site" + "\r\ndefinition-file=project.txt\r\n" + settings);
    fs.CreateFolderPath(folder / "site/");
  }

  TestFolder folder;
  FileSystem fs;
  std::string err;
};

// Every table limit at its highest once asked for gigabytes up front; the run now costs what the
// small site needs, so it fits in 64 MiB of address space.
TEST_F(BoundedRunsTest, AProjectWithEveryLimitAtItsHighestGeneratesInLittleMemory) {
  std::string limits;
  for (const char* key :
       {"max-nested-macros", "max-folders", "max-globals", "max-docs", "max-folder-globals",
        "max-content-files", "max-global-macros", "max-folder-global-macros",
        "max-content-file-macros", "max-project-macros", "max-parameters"}) {
    limits += std::string(key) + "=32767\r\n";
  }
  WriteProject(limits + "project-macro-file=site.par\r\n");
  Write("src/project.txt",
        "Globals=g.par!\r\n[Main]\r\nGlobals=f.par!\r\nindex.html,page.tpl,index.par!\r\n"
        "about.html,page.tpl!\r\n[News]\r\nnews.html,page.tpl,news.par!\r\n");
  Write("src/page.tpl", "<h1>[@SITE]: [@TITLE]</h1>\r\n[@LINK(@url:/x.html)]\r\n");
  Write("src/site.par", "[@SITE]:\r\nMy Site\r\n[@]\r\n");
  Write("src/g.par",
        "[@LINK(@url)(@text:Home)]:\r\n<a href=\"(@url)\">(@text)</a>\r\n[@]\r\n"
        "[@TITLE]:\r\nUntitled\r\n[@]\r\n");
  Write("src/f.par", "[@TITLE]:\r\nMain\r\n[@]\r\n");
  Write("src/index.par", "[@TITLE]:\r\nIndex\r\n[@]\r\n");
  Write("src/news.par", "[@TITLE]:\r\nNews\r\n[@]\r\n");

  ASSERT_EQ(Run({"generate", folder / "site.web"}, 64 * kMiB, 64 * kMiB), 0) << err;
  const std::string link = "<a href=\"/x.html\">Home</a>\r\n";
  EXPECT_EQ(fs.ReadFile(folder / "site/index.html"), "<h1>My Site: Index</h1>\r\n" + link);
  EXPECT_EQ(fs.ReadFile(folder / "site/about.html"), "<h1>My Site: Main</h1>\r\n" + link);
  EXPECT_EQ(fs.ReadFile(folder / "site/news.html"), "<h1>My Site: News</h1>\r\n" + link);
}

// A macro whose value holds its own tag once and 4 MiB of text grows the document by 4 MiB every
// pass. Pass n writes 9 + 4 MiB * n bytes; passes 1 to 22 write 1,061,159,110 bytes, and pass 23
// would take the document's work files past 1 GiB, long before the highest nesting limit. The
// run holds no more than two passes in memory, within 512 MiB of address space.
TEST_F(BoundedRunsTest, ALinearlyGrowingMacroStopsAtTheWorkFilesBoundAndLeavesNoneBehind) {
  WriteProject("max-nested-macros=32767\r\n");
  Write("src/project.txt", "[Main]\r\nindex.html,page.tpl,page.par!\r\n");
  Write("src/page.tpl", "[@GROW]\r\n");
  std::string value = "[@GROW]";
  const std::string line = "\r\n" + std::string(4094, 'x');
  for (int i = 0; i < 1024; ++i) value += line;
  Write("src/page.par", "[@GROW]:\r\n" + value + "\r\n[@]\r\n");

  // Pass 22 is the largest file, 88 MiB: a run past the bound fails on the file size instead.
  EXPECT_EQ(Run({"generate", folder / "site.web"}, 512 * kMiB, 96 * kMiB), 1);
  const std::string document = folder / "site/index.html";
  EXPECT_NE(err.find("The work files of the document " + document +
                     " grew beyond 1 GiB in pass 23 while expanding [@GROW]. A macro may "
                     "contain its own tag."),
            std::string::npos)
      << err;
  // The log, the search results and the generated-files list; no pass file.
  EXPECT_EQ(fs.FilesBelow(folder / "home/temp"),
            (std::vector<std::string>{"generate.txt", "pentrak.txt", "search.txt"}));
  EXPECT_FALSE(fs.FileExists(document));
}

}  // namespace
}  // namespace pentrak
