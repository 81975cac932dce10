#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabWidget>

#include "gui/gui_test_support.h"

namespace pentrak {
namespace {

std::string OptionsFile(const DesktopFixture& desktop) {
  return ReadFile(desktop.folder / "pentrak.ini");
}

TEST(ProgramOptionsWindow, AFieldErrorKeepsTheDialogOpenAValidOkSavesAndEscapeSavesNothing) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  desktop.ui.messages.clear();
  const std::string before = OptionsFile(desktop);
  desktop.Trigger("mnuOptions");
  auto* dialog = ShownDialog(desktop, "frmOptions");
  ASSERT_NE(dialog, nullptr);
  auto* tabs = Control<QTabWidget>(dialog, "tabOptions");
  auto* maximum = Control<QLineEdit>(dialog, "maximum-projects");
  auto* history = Control<QLineEdit>(dialog, "project-file");
  EXPECT_EQ(maximum->text(), "25");
  EXPECT_EQ(history->text(), ToQt(desktop.folder / "projects.ini"));

  // No drive letters on POSIX: the drive and its box are off and say why.
  auto* drive = Control<QLineEdit>(dialog, "default-drive");
  auto* drive_on = Control<QCheckBox>(dialog, "enable-default-drive");
  drive_on->click();
  EXPECT_FALSE(drive->isEnabled());
  EXPECT_FALSE(drive_on->isEnabled());
  EXPECT_FALSE(drive_on->isChecked());
  EXPECT_TRUE(drive->toolTip().contains(QStringLiteral("Only Windows has drive letters")));

  // A field error (the dialog model checks each) keeps the dialog open on the Projects tab.
  tabs->setCurrentIndex(0);
  desktop.ui.messages.clear();
  Type(maximum, "0");
  Control<QPushButton>(dialog, "cmdOK")->click();
  ASSERT_EQ(desktop.ui.messages.size(), 1u);
  EXPECT_EQ(desktop.ui.messages[0].title, "Field Error");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "&Projects");
  EXPECT_EQ(OptionsFile(desktop), before);

  // Enter confirms: OK is the default button.
  desktop.ui.messages.clear();
  Type(maximum, "7");
  Type(Control<QLineEdit>(dialog, "custom-application-caption"), "Sketch");
  Control<QCheckBox>(dialog, "resizable-border")->click();
  EXPECT_TRUE(desktop.window->minimumSize() == desktop.window->maximumSize());
  QTest::keyClick(maximum, Qt::Key_Return);
  EXPECT_TRUE(desktop.ui.messages.empty());
  EXPECT_FALSE(dialog->isVisible());
  const std::string after = OptionsFile(desktop);
  for (const char* line : {"\r\nmaximum-projects=7\r\n", "\r\nresizable-border=1\r\n",
                           "\r\ncustom-application-caption=Sketch\r\n"}) {
    EXPECT_NE(after.find(line), std::string::npos) << line;
  }
  EXPECT_EQ(desktop.workbench.history.entries.size(), 7u);
  EXPECT_EQ(desktop.Find<QAction>("mnuCustomApplication")->text(), "Launch &Sketch");
  // The toolbar names it too, and shows it only once there is a command to start.
  auto* app = desktop.Find<QAction>("CustomApplication");
  EXPECT_EQ(app->text(), "Sketch");
  EXPECT_FALSE(app->isVisible());
  EXPECT_FALSE(desktop.window->minimumSize() == desktop.window->maximumSize());

  // Escape leaves the options as they were.
  const std::string saved = OptionsFile(desktop);
  desktop.Trigger("mnuOptions");
  dialog = ShownDialog(desktop, "frmOptions");
  ASSERT_NE(dialog, nullptr);
  Type(Control<QLineEdit>(dialog, "editor"), "vi");
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(OptionsFile(desktop), saved);
  EXPECT_NE(desktop.workbench.options.editor, "vi");
}

}  // namespace
}  // namespace pentrak
