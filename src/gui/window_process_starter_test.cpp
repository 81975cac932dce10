#include "gui/window_process_starter.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QTest>
#include <string>

#include "platform/file_system.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// The desktop's opener may take seconds to decide; the window goes on meanwhile, and what the
// opener decided is shown once it is known.
TEST(WindowProcessStarter, TheOpenerIsAwaitedInTheBackgroundAndItsFailureShownWhenKnown) {
  TestFolder folder;
  const std::string slow = folder / "slow-opener";  // finds no file, after a while
  FileSystem().WriteFile(slow, "#!/bin/sh\nsleep 1\nexit 2\n");
  ::chmod(slow.c_str(), 0755);
  const struct Case {
    std::string opener;
    std::string message;
  } cases[] = {
      {slow, "Error opening file (\"/my site/a.txt\") with default application. File not found."},
      {folder / "no-such-opener", "Error launching default application for \"/my site/a.txt\"."},
  };
  for (const Case& c : cases) {
    ScriptedUserInterface ui;
    ProgramOptions options;
    ProjectSettings project;
    WindowProcessStarter starter(ui, c.opener);
    const LaunchContext context{options, project, starter, ui, {}};
    EXPECT_EQ(OpenWithAssociation(context, "/my site/a.txt", 1), kOpenPending) << c.opener;
    EXPECT_TRUE(ui.messages.empty());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.messages.empty(); }, 20000)) << c.opener;
    EXPECT_NE(ui.messages[0].text.find(c.message), std::string::npos) << ui.messages[0].text;
  }
}

}  // namespace
}  // namespace pentrak
