#include "shell/launcher.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <vector>

#include "platform/error.h"
#include "platform/file_system.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

using Lines = std::vector<std::string>;

// Records what would be started; fails when asked to.
class RecordingStarter : public ProcessStarter {
 public:
  bool StartCommand(const std::string& command_line) override {
    commands.push_back(command_line);
    return !fail;
  }
  int OpenAssociated(const std::string& path, int mode) override {
    opened.push_back(path + " #" + std::to_string(mode));
    return open_result;
  }
  Lines commands;
  Lines opened;
  bool fail = false;
  int open_result = 42;
};

struct Launch {
  ProgramOptions options;
  ProjectSettings project;
  RecordingStarter starter;
  ScriptedUserInterface ui;
  LaunchContext context{options, project, starter, ui, ""};
};

TEST(LauncherTest, QuotesOnlyUnquotedPathsWithBlanks) {
  const std::pair<const char*, const char*> cases[] = {
      {"", ""},
      {"a.txt", "a.txt"},
      {"/my site/a.txt", "\"/my site/a.txt\""},
      {"\"/my site/a.txt", "\"/my site/a.txt"},
      {"/my site/a.txt\"", "/my site/a.txt\""},
      {"\"/my site/a.txt\"", "\"/my site/a.txt\""},
      {" ", "\" \""},
  };
  for (const auto& [path, expected] : cases) EXPECT_EQ(QuoteIfNeeded(path), expected) << path;
}

TEST(LauncherTest, ComposesTheEditorCommand) {
  struct Case {
    const char* editor_options;
    short add_space;
    const char* path;
    int line;
    const char* expected;
  };
  const Case cases[] = {
      {"", 1, "/a/b.txt", 5, "ed /a/b.txt"},
      {"+%LINE%", 1, "/a/b.txt", 12, "ed /a/b.txt +12"},
      {"+%LINE%", 0, "/a/b.txt", 12, "ed /a/b.txt+12"},
      {"-n%LINE% %FILE% --also %FILE%", 1, "/my docs/x.par", 3,
       "ed -n3 \"/my docs/x.par\" --also \"/my docs/x.par\""},
      {"+%LINE%", 1, "/a/b.txt", 0, "ed /a/b.txt"},  // no line number: the file only
      {"+%LINE%", 1, "", 7, "ed"},
      {"", 1, "\\site\\b.txt", 0, "ed /site/b.txt"},
  };
  for (const Case& c : cases) {
    Launch l;
    l.options.editor = "ed";
    l.options.editor_options = c.editor_options;
    l.options.editor_options_add_space = c.add_space;
    LaunchEditor(l.context, c.path, c.line);
    EXPECT_EQ(l.starter.commands, Lines{c.expected}) << c.editor_options << " " << c.line;
  }
}

TEST(LauncherTest, ComposesTheOtherApplications) {
  Launch l;
  l.options.browser = "firefox";
  l.options.image_editor = "gimp";
  l.options.editor = "ed";
  LaunchBrowser(l.context, "/my site/a.html");
  LaunchBrowser(l.context, "");
  LaunchImageEditor(l.context, "/p.png");
  LaunchXmlEditor(l.context, "/x.xml");  // no XML editor: the text editor
  l.options.xml_editor = "xmled";
  LaunchXmlEditor(l.context, "/x.xml");
  EXPECT_EQ(l.starter.commands, (Lines{"firefox \"/my site/a.html\"", "firefox", "gimp /p.png",
                                       "ed /x.xml", "xmled /x.xml"}));
}

// The desktop's opener started with no file shows nothing and says nothing.
TEST(LauncherTest, TheDesktopOpenerIsNeverStartedWithoutAFile) {
  Launch l;
  l.options.editor = l.options.browser = l.options.image_editor = "xdg-open";
  l.context.file_when_none = "/my site/index.html";
  LaunchEditor(l.context, "", 0);
  LaunchBrowser(l.context, "");
  LaunchImageEditor(l.context, "");
  LaunchXmlEditor(l.context, "");
  LaunchBrowser(l.context, "/a.html");
  l.options.browser = "firefox";
  LaunchBrowser(l.context, "");
  const std::string stand_in = "xdg-open \"/my site/index.html\"";
  EXPECT_EQ(l.starter.commands,
            (Lines{stand_in, stand_in, stand_in, stand_in, "xdg-open /a.html", "firefox"}));
}

TEST(LauncherTest, CustomCommandsAndApplicationsExpandTheProjectPath) {
  Launch l;
  l.project.custom_project_path = "\\sites\\demo";
  l.project.custom_project_path_with_drive = 1;
  l.options.default_drive = "D:";
  l.options.enable_default_drive = 1;
  l.options.custom_options[0].command = "wc -l";
  l.options.custom_options[1].command = "tidy -m %FILE% -o %PROJECT_PATH%\\out";
  l.options.custom_options[2].command = "cmp %FILE% %FILE%";
  l.options.custom_applications[0].command = "%PROJECT_PATH%/bin/tool --all";
  l.options.custom_applications[2].command = "third";

  LaunchCustomCommand(l.context, "/x.txt", 1);
  LaunchCustomCommand(l.context, "/my site/a.html", 2);
  LaunchCustomCommand(l.context, "/a b", 3);
  LaunchCustomCommand(l.context, "/x.txt", 4);  // empty template
  LaunchCustomCommand(l.context, "", 1);        // no file
  LaunchCustomCommand(l.context, "/x.txt", 7);  // no such command
  LaunchCustomApplication(l.context, 1);
  LaunchCustomApplication(l.context, 2);  // empty: nothing, no message
  LaunchCustomApplication(l.context, 9);  // acts as 3
  l.project.custom_project_path_with_drive = 0;
  LaunchCustomApplication(l.context, 1);
  l.project.custom_project_path.clear();
  LaunchCustomApplication(l.context, 1);

  EXPECT_EQ(l.starter.commands,
            (Lines{"wc -l /x.txt", "tidy -m \"/my site/a.html\" -o D:\\sites\\demo\\out",
                   "cmp \"/a b\" \"/a b\"", "D:\\sites\\demo/bin/tool --all", "third",
                   "\\sites\\demo/bin/tool --all", "%PROJECT_PATH%/bin/tool --all"}));
  EXPECT_TRUE(l.ui.messages.empty());
}

TEST(LauncherTest, FailuresNameTheCommandTried) {
  struct Case {
    std::function<void(const LaunchContext&)> launch;
    int number;
    const char* description;
  };
  const Case cases[] = {
      {[](const LaunchContext& c) { LaunchEditor(c, "/a.txt", 0); }, 10007,
       "Error launching editor (ed /a.txt). Please check the editor path in the Tools->Options "
       "screen."},
      {[](const LaunchContext& c) { LaunchBrowser(c, "/a.html"); }, 10008,
       "Error launching browser (web /a.html). Please check the browser path in the "
       "Tools->Options screen."},
      {[](const LaunchContext& c) { LaunchImageEditor(c, "/a.png"); }, 10017,
       "Error launching image editor (img /a.png). Please check the Image Editor path in the "
       "Tools->Options screen."},
      {[](const LaunchContext& c) { LaunchXmlEditor(c, "/a.xml"); }, 10021,
       "Error launching XML editor (ed /a.xml). Please check the XML Editor path in the "
       "Tools->Options screen."},
      {[](const LaunchContext& c) { LaunchCustomApplication(c, 1); }, 10018,
       "Error launching custom application (app). Please check the Custom Application editor "
       "path in the Tools->Options screen."},
      {[](const LaunchContext& c) { LaunchCustomCommand(c, "/a.txt", 6); }, 10016,
       "Error launching custom action (cmd /a.txt). Please check the custom action in the "
       "Tools->Options screen."},
  };
  for (const Case& c : cases) {
    Launch l;
    l.options.editor = "ed";
    l.options.browser = "web";
    l.options.image_editor = "img";
    l.options.custom_applications[0].command = "app";
    l.options.custom_options[5].command = "cmd";
    l.starter.fail = true;
    try {
      c.launch(l.context);
      ADD_FAILURE() << "no error for " << c.number;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), c.number);
      EXPECT_EQ(e.description(), c.description);
    }
  }
}

TEST(LauncherTest, OpensWithTheAssociatedApplication) {
  Launch l;
  EXPECT_EQ(OpenWithAssociation(l.context, "", 1), kOpenNothingStarted);
  EXPECT_EQ(OpenWithAssociation(l.context, "/my site/a.txt", 1), 42);
  l.options.default_drive = "D:";
  l.options.enable_default_drive = 1;
  OpenWithAssociation(l.context, "", 2);
  l.options.enable_default_drive = 0;
  OpenWithAssociation(l.context, "\\\\server\\share", 2);
  // A lone "\\" is not a drive-less path: the default drive is never put before it.
  EXPECT_EQ(l.starter.opened, (Lines{"/my site/a.txt #1", "/ #2", "//server/share #2"}));
  EXPECT_TRUE(l.ui.messages.empty());

  l.starter.open_result = 2;
  EXPECT_EQ(OpenWithAssociation(l.context, "/my site/a.txt", 1), 2);
  ASSERT_EQ(l.ui.messages.size(), 1u);
  EXPECT_EQ(l.ui.messages[0].title, "Error");
  EXPECT_EQ(l.ui.messages[0].text,
            "Error opening file (\"/my site/a.txt\") with default application. File not found.");
  EXPECT_EQ(l.ui.messages[0].icon, Icon::kExclamation);

  l.starter.open_result = -1;
  try {
    OpenWithAssociation(l.context, "/a.txt", 1);
    ADD_FAILURE() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(e.number(), 10020);
    EXPECT_EQ(e.description(), "Error launching default application for /a.txt.");
  }
}

TEST(LauncherTest, AFileNameWithShellMetacharactersArrivesAsOneArgument) {
  TestFolder folder;
  FileSystem fs;
  // The stand-in editor writes each argument it receives on a line of args.txt.
  std::string editor = folder / "editor";
  fs.WriteFile(editor,
               "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$0.tmp\"\n"
               "mv \"$0.tmp\" \"$(dirname \"$0\")/args.txt\"\n");
  std::filesystem::permissions(editor, std::filesystem::perms::owner_all);
  std::string file = folder / ("a; touch " + (folder / "one") + " $(touch " + (folder / "two") +
                               ") `touch " + (folder / "three") + "`.txt");

  ProgramOptions options;
  options.editor = editor;
  ProjectSettings project;
  SystemProcessStarter starter;
  ScriptedUserInterface ui;
  LaunchEditor({options, project, starter, ui, {}}, file);

  std::string args = folder / "args.txt";
  for (int i = 0; i < 1000 && !fs.FileExists(args); ++i) ::usleep(10000);
  ASSERT_TRUE(fs.FileExists(args));
  EXPECT_EQ(fs.ReadFile(args), file + "\n");
  for (const char* name : {"one", "two", "three"}) EXPECT_FALSE(fs.FileExists(folder / name));
}

}  // namespace
}  // namespace pentrak
