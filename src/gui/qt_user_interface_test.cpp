#include "gui/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <sstream>

namespace pentrak {
namespace {

// With a screen each box is shown (here closed without a button) and its text also goes to the
// error stream; without one no box opens and the unattended answers come at once.
TEST(QtUserInterface, BoxTextsGoToTheErrorStreamAndWithoutAScreenNothingWaits) {
  std::ostringstream err;
  QtUserInterface ui(err);
  int boxes = 0;
  // Closes the box about to open; one that should not open is closed too: the test fails, never
  // hangs.
  auto close_next_box = [&boxes] {
    QTimer::singleShot(0, [&boxes] {
      if (QWidget* shown = QApplication::activeModalWidget()) boxes += shown->close() ? 1 : 0;
    });
  };
  for (bool screen : {true, false}) {
    ui.SetHasScreen(screen);
    boxes = 0;
    close_next_box();
    EXPECT_EQ(
        ui.ShowMessage("Remove Project", "Sure?\rReally?", Icon::kQuestion, Buttons::kOkCancel),
        Answer::kCancel);
    close_next_box();
    EXPECT_EQ(ui.AskFourButtons("File Access Error", "a.par.", {true, true, true, false},
                                FourButtonAnswer::kNo),
              FourButtonAnswer::kNo);
    QApplication::processEvents();
    EXPECT_EQ(boxes, screen ? 2 : 0);
  }
  EXPECT_EQ(ui.ChooseOpenFile("Open Project", "Pentrak Projects|*.web", "*.web"), std::nullopt);
  const std::string texts = "Remove Project: Sure?\nReally?\nFile Access Error: a.par.\n";
  EXPECT_EQ(err.str(), texts + texts);
}

// After a box, the keys belong to the tool window that asked, not to the main window.
TEST(QtUserInterface, TheWindowThatAskedHasTheKeysAgainAfterTheBox) {
  std::ostringstream err;
  QtUserInterface ui(err);
  QWidget main_window;
  QWidget tool;
  ui.SetParentWindow(&main_window);
  main_window.show();
  tool.show();
  tool.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&tool));
  QWidget* parent_of_box = nullptr;
  QTimer::singleShot(0, [&parent_of_box] {
    QWidget* box = QApplication::activeModalWidget();
    if (box == nullptr) return;
    parent_of_box = box->parentWidget();
    box->close();
  });
  ui.ShowMessage("Replace", "Nothing found.", Icon::kInformation, Buttons::kOk);
  EXPECT_EQ(parent_of_box, &tool);
  EXPECT_TRUE(QTest::qWaitForWindowActive(&tool));
}

}  // namespace
}  // namespace pentrak
