#include <gtest/gtest.h>

#include <QComboBox>
#include <QRadioButton>
#include <QStackedWidget>

#include "gui/gui_test_support.h"

namespace pentrak {
namespace {

TEST(OptionImportWindow, ButtonsFollowBothStepsAndFinishTakesTheRecommendedHistory) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  // Another installation: its options name the history beside them, which knows one project.
  const std::string old = desktop.folder / "old";
  WriteFile(old + "/Old.web", "name=Old\r\ncontent-root=" + old + "/\r\ndocument-root=" + old +
                                  "/\r\ndefinition-file=project.txt\r\n");
  WriteFile(old + "/project.txt", "[Main]\r\n");
  const std::string old_history = "5|" + old + "/Old.web|2\r\n";
  WriteFile(old + "/projects.ini", old_history);
  WriteFile(old + "/pentrak.ini",
            "ini-file-version=5\r\neditor=vi\r\nproject-file=" + old + "/projects.ini\r\n");

  desktop.Trigger("mnuImportOptions");
  auto* dialog = ShownDialog(desktop, "frmImportOptions");
  ASSERT_NE(dialog, nullptr);
  auto* back = Control<QPushButton>(dialog, "cmdBack");
  auto* next = Control<QPushButton>(dialog, "cmdNext");
  auto* finish = Control<QPushButton>(dialog, "cmdFinish");
  auto buttons = [&] {
    return std::vector<bool>{back->isEnabled(), next->isEnabled(), finish->isEnabled()};
  };
  auto* steps = dialog->findChild<QStackedWidget*>();
  auto* options_file = Control<QLineEdit>(dialog, "txtOptionsFile");
  using States = std::vector<bool>;
  EXPECT_EQ(buttons(), (States{false, false, false}));
  Type(options_file, old + "/pentrak.ini");
  EXPECT_EQ(buttons(), (States{false, true, false}));
  EXPECT_TRUE(next->isDefault());

  next->click();
  EXPECT_EQ(steps->currentIndex(), 1);
  EXPECT_EQ(buttons(), (States{true, false, true}));
  EXPECT_TRUE(finish->isDefault());
  auto* recommended = Control<QRadioButton>(dialog, "optHistory0");
  EXPECT_TRUE(recommended->isChecked());
  EXPECT_EQ(FromQt(recommended->text()), old + "/projects.ini (Recommended)");
  EXPECT_EQ(FromQt(Control<QRadioButton>(dialog, "optHistory3")->text()),
            desktop.folder / "projects.ini");

  // Another file: Finish waits for its path.
  Control<QRadioButton>(dialog, "optHistory1")->click();
  EXPECT_EQ(buttons(), (States{true, false, false}));
  Type(Control<QLineEdit>(dialog, "txtHistoryFile"), old + "/projects.ini");
  EXPECT_EQ(buttons(), (States{true, false, true}));

  back->click();
  EXPECT_EQ(steps->currentIndex(), 0);
  EXPECT_EQ(FromQt(options_file->text()), old + "/pentrak.ini");
  EXPECT_EQ(buttons(), (States{false, true, false}));
  next->click();
  EXPECT_TRUE(recommended->isChecked());
  recommended->click();

  desktop.ui.messages.clear();
  finish->click();
  EXPECT_TRUE(desktop.ui.messages.empty());
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ReadFile(desktop.folder / "projects.ini"), old_history);
  EXPECT_NE(ReadFile(desktop.folder / "pentrak.ini").find("\r\neditor=vi\r\n"), std::string::npos);
  auto* projects = desktop.Find<QComboBox>("cboProjects");
  EXPECT_EQ(projects->count(), 1);
  EXPECT_EQ(projects->currentText(), "Old");
}

}  // namespace
}  // namespace pentrak
