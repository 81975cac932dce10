#include "gui/four_button_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

namespace pentrak {
namespace {

TEST(FourButtonBox, ShowsOnlyTheAskedButtonsAndClosingGivesThePreset) {
  using A = FourButtonAnswer;
  struct Case {
    FourButtons shown;
    A preset;
    const char* click;  // nullptr: the box is closed without a button
    A expected;
    std::vector<bool> visible;
  };
  const FourButtons three{true, true, true, false};
  const Case cases[] = {
      {three, A::kNo, "cmdYesToAll", A::kYesToAll, {true, true, true, false}},
      {three, A::kNo, nullptr, A::kNo, {true, true, true, false}},
      {FourButtons{}, A::kCancel, nullptr, A::kCancel, {true, true, true, true}},
      {FourButtons{}, A::kCancel, "cmdYes", A::kYes, {true, true, true, true}},
  };
  for (const Case& c : cases) {
    std::vector<bool> visible;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->objectName(), "frmMessageBox");
      for (const char* name : {"cmdYes", "cmdYesToAll", "cmdNo", "cmdCancel"}) {
        visible.push_back(box->findChild<QPushButton*>(name)->isVisible());
      }
      if (c.click != nullptr) {
        box->findChild<QPushButton*>(c.click)->click();
      } else {
        box->close();
      }
    });
    FourButtonBox box(nullptr, "Subdirectory Does Not Exist", "The subdirectory", c.shown,
                      c.preset);
    EXPECT_EQ(box.Ask(), c.expected);
    EXPECT_EQ(visible, c.visible);
  }
}

}  // namespace
}  // namespace pentrak
