#include "gui/four_button_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include "gui/desktop_start.h"

namespace pentrak {
namespace {

TEST(FourButtonBox, ShowsOnlyTheAskedButtonsAndClosingGivesThePreset) {
  struct Case {
    FourButtons shown;
    FourButtonAnswer preset;
    const char* click;  // nullptr: the box is closed without a button
    FourButtonAnswer expected;
    std::vector<bool> visible;
  };
  const FourButtons three{true, true, true, false};
  for (const Case& c : {Case{three,
                             FourButtonAnswer::kNo,
                             "cmdYesToAll",
                             FourButtonAnswer::kYesToAll,
                             {true, true, true, false}},
                        Case{three,
                             FourButtonAnswer::kNo,
                             nullptr,
                             FourButtonAnswer::kNo,
                             {true, true, true, false}},
                        Case{FourButtons{},
                             FourButtonAnswer::kCancel,
                             nullptr,
                             FourButtonAnswer::kCancel,
                             {true, true, true, true}},
                        Case{FourButtons{},
                             FourButtonAnswer::kCancel,
                             "cmdYes",
                             FourButtonAnswer::kYes,
                             {true, true, true, true}}}) {
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

TEST(DesktopArguments, SortsHomeProjectAndBatchForm) {
  struct Case {
    std::vector<std::string> arguments;
    std::string home, project, batch, error;
  };
  for (const Case& c : {
           Case{{}, "", "", "", ""},
           Case{{"--home", "/h", "/srv/site/site.web"}, "/h", "/srv/site/site.web", "", ""},
           Case{{"--home=/h", "/MODE=2", "/project=c:\\my", "site\\a.web"},
                "/h",
                "",
                "/MODE=2 /project=c:\\my site\\a.web",
                ""},
           Case{{"a.web", "b.web"}, "", "", "", "Unexpected argument b.web."},
           Case{{"--homes"}, "", "", "", "Unknown option --homes."},
           Case{{"--home"}, "", "", "", "--home needs a folder."},
       }) {
    DesktopArgumentsResult result = ParseDesktopArguments(c.arguments);
    EXPECT_EQ(result.usage_error, c.error);
    EXPECT_EQ(result.arguments.home, c.home);
    EXPECT_EQ(result.arguments.project_file, c.project);
    EXPECT_EQ(result.arguments.batch_command_line, c.batch);
  }
}

}  // namespace
}  // namespace pentrak
