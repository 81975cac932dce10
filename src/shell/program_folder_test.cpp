#include "shell/program_folder.h"

#include <gtest/gtest.h>

#include "platform/error.h"
#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

TEST(ProgramFolderTest, ChoiceFollowsOptionThenExecutableThenUserFolder) {
  TestFolder folder;
  FileSystem fs;
  const std::string root = folder.path();
  fs.CreateFolderPath(root + "/build/samples/");
  fs.CreateFolderPath(root + "/bin/");
  struct Case {
    const char* what;
    std::string home_option;
    std::string executable;
    std::string xdg_data_home;
    std::string user_home;
    std::string expected;
  };
  const Case cases[] = {
      {"--home wins", root + "/mine/", root + "/build/pentrak-cli", "/xdg", "/home/u",
       root + "/mine"},
      {"build tree", "", root + "/build/pentrak-cli", "/xdg", "/home/u", root + "/build"},
      {"installed, XDG", "", root + "/bin/pentrak-cli", "/xdg/", "/home/u", "/xdg/pentrak"},
      {"relative XDG is ignored", "", root + "/bin/pentrak-cli", "xdg", "/home/u",
       "/home/u/.local/share/pentrak"},
      {"no XDG", "", root + "/bin/pentrak-cli", "", "/home/u", "/home/u/.local/share/pentrak"},
  };
  for (const Case& c : cases) {
    ProgramFolderInputs inputs{c.home_option, c.executable, c.xdg_data_home, c.user_home, ""};
    EXPECT_EQ(ChooseProgramFolder(fs, inputs), c.expected) << c.what;
  }
  ProgramFolderInputs nowhere{"", root + "/bin/pentrak-cli", "", "", ""};
  EXPECT_THROW(ChooseProgramFolder(fs, nowhere), Error);
}

TEST(ProgramFolderTest, SeedingCopiesOnlyWhatIsMissing) {
  TestFolder folder;
  FileSystem fs;
  const std::string root = folder.path();
  fs.CreateFolderPath(root + "/share/samples/templates/");
  fs.CreateFolderPath(root + "/share/samples/overview/");
  fs.CreateFolderPath(root + "/share/overview/");
  fs.WriteFile(root + "/share/samples/project.txt", "shipped");
  fs.WriteFile(root + "/share/samples/templates/general.tpl", "template");
  fs.WriteFile(root + "/share/samples/overview/overview.txt", "overview");
  // What a seed's own sample project may hold besides its sources is never copied.
  fs.WriteFile(root + "/share/overview/index.html", "generated");
  fs.CreateFolderPath(root + "/bin/");

  ProgramFolderInputs inputs{root + "/home/new", root + "/bin/pentrak-cli", "", "",
                             root + "/share"};
  EXPECT_EQ(FindSeedFolder(fs, inputs), root + "/share");
  fs.CreateFolderPath(root + "/home/new/samples/");
  fs.WriteFile(root + "/home/new/samples/project.txt", "edited by the user");

  EXPECT_EQ(PrepareProgramFolder(fs, inputs), root + "/home/new");
  EXPECT_EQ(fs.ReadFile(root + "/home/new/samples/project.txt"), "edited by the user");
  EXPECT_EQ(fs.ReadFile(root + "/home/new/samples/templates/general.tpl"), "template");
  EXPECT_EQ(fs.ReadFile(root + "/home/new/overview/overview.txt"), "overview");
  EXPECT_FALSE(fs.FileExists(root + "/home/new/overview/index.html"));
  EXPECT_FALSE(fs.FolderExists(root + "/home/new/samples/overview"));

  // A fresh folder, several levels deep, is created; with no seed it is simply empty.
  ProgramFolderInputs unseeded{root + "/a/b/c", root + "/bin/pentrak-cli", "", "", root + "/none"};
  EXPECT_EQ(FindSeedFolder(fs, unseeded), "");
  EXPECT_EQ(PrepareProgramFolder(fs, unseeded), root + "/a/b/c");
  EXPECT_TRUE(fs.FolderExists(root + "/a/b/c"));

  // A build tree seeds from its own copy before the installed one.
  fs.CreateFolderPath(root + "/build/samples/");
  ProgramFolderInputs build{"", root + "/build/pentrak-cli", "", "", root + "/share"};
  EXPECT_EQ(FindSeedFolder(fs, build), root + "/build");

  // An install finds share/pentrak/ beside its bin/, also under a prefix other than the one it
  // was built for (as a staged install is), and seeds the user's folder from it.
  fs.CreateFolderPath(root + "/stage/bin/");
  fs.CreateFolderPath(root + "/stage/share/pentrak/samples/");
  fs.WriteFile(root + "/stage/share/pentrak/samples/project.txt", "staged");
  ProgramFolderInputs staged =
      ProgramFolderInputsFromEnvironment("", root + "/stage/bin/pentrak-cli");
  staged.xdg_data_home = root + "/data";
  EXPECT_EQ(PrepareProgramFolder(fs, staged), root + "/data/pentrak");
  EXPECT_EQ(fs.ReadFile(root + "/data/pentrak/samples/project.txt"), "staged");
}

}  // namespace
}  // namespace pentrak
