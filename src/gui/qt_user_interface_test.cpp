#include "gui/qt_user_interface.h"

#include <gtest/gtest.h>

#include <QApplication>
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
  const FourButtons three{true, true, true, false};
  int boxes = 0;
  // Closes the box about to open; one that should not have opened is closed too, so that the
  // test fails instead of hanging.
  auto close_next_box = [&boxes] {
    QTimer::singleShot(0, [&boxes] {
      if (QWidget* shown = QApplication::activeModalWidget()) {
        ++boxes;
        shown->close();
      }
    });
  };
  for (bool screen : {true, false}) {
    ui.SetHasScreen(screen);
    boxes = 0;
    close_next_box();
    EXPECT_EQ(
        ui.ShowMessage("Remove Project", "Remove?\rSure?", Icon::kQuestion, Buttons::kOkCancel),
        Answer::kCancel);
    close_next_box();
    EXPECT_EQ(ui.AskFourButtons("File Access Error", "Error opening file: a.par.", three,
                                FourButtonAnswer::kNo),
              FourButtonAnswer::kNo);
    QApplication::processEvents();
    EXPECT_EQ(boxes, screen ? 2 : 0);
  }
  EXPECT_EQ(ui.ChooseOpenFile("Open Project", "Pentrak Projects|*.web", "*.web"), std::nullopt);
  EXPECT_EQ(err.str(),
            "Remove Project: Remove?\nSure?\nFile Access Error: Error opening file: a.par.\n"
            "Remove Project: Remove?\nSure?\nFile Access Error: Error opening file: a.par.\n");
}

}  // namespace
}  // namespace pentrak
