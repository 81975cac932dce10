#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTreeWidget>

#include "gui/gui_test_support.h"
#include "gui/replace_special_window.h"
#include "gui/replace_window.h"

namespace pentrak {
namespace {

TEST(ReplaceWindows, ReplaceAsksFirstAndLeavesAReadOnlyFileAloneAndReplaceSpecialRepairs) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  const std::string kReadOnlyText = "old old\r\nold\r\nold\r\n";
  project.Write(project.Source("page.tpl"), "<p>[@Body]</p>\r\n");
  project.Write(project.Source("a.par"), "[@Body]:old and old\r\n");
  project.Write(project.Source("ro.par"), kReadOnlyText);
  // Read-only is the file's permission bits, so the file stays untouched even for root.
  desktop.workbench.fs.SetReadOnly(project.Source("ro.par"), true);
  project.Open("[Main]\r\nindex.html,page.tpl,a.par,ro.par!\r\n");

  desktop.Trigger("mnuReplace");
  auto* form = desktop.Find<ReplaceForm>("frmReplace");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "Replace");
  form->findChild<QLineEdit*>("txtFind")->setText("old");
  form->findChild<QLineEdit*>("txtReplace")->setText("new");
  form->findChild<QCheckBox*>("ckDetailedResults")->setChecked(true);
  auto* replace = form->findChild<QPushButton*>("cmdReplace");
  auto* status = form->findChild<QListWidget*>("lstReplaceStatus");
  const std::string& results_file = desktop.workbench.work_files.results_file;

  // Cancel in the confirmation changes nothing (the replace model checks the question).
  desktop.ui.message_answers = {Answer::kCancel};
  replace->click();
  ASSERT_FALSE(desktop.ui.messages.empty());
  EXPECT_EQ(desktop.ui.messages.back().title, "Confirm Replace");
  EXPECT_EQ(project.Read(project.Source("a.par")), "[@Body]:old and old\r\n");
  EXPECT_EQ(status->count(), 0);

  replace->click();  // answered OK
  EXPECT_EQ(project.Read(project.Source("a.par")), "[@Body]:new and new\r\n");
  EXPECT_EQ(project.Read(project.Source("ro.par")), kReadOnlyText);
  std::vector<std::string> listed = ListLines(form->findChild<QListWidget*>("lstResults"));
  EXPECT_EQ(listed, (std::vector<std::string>{project.Source("a.par") + " (2)",
                                              project.Source("ro.par") + " (4)"}));
  std::vector<std::string> file = desktop.workbench.fs.ReadLines(results_file);
  EXPECT_EQ(listed, ResultsFromResultsFile(file));
  std::vector<std::string> lines = ListLines(status);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(std::vector<std::string>(lines.end() - 3, lines.end()),
            std::vector<std::string>(file.end() - 3, file.end()));
  EXPECT_EQ(lines.back(), "3 files checked (1 read-only file).");

  auto* details = form->findChild<QTreeWidget*>("tvwDetailedResults");
  ASSERT_EQ(details->topLevelItemCount(), 2);
  EXPECT_EQ(details->topLevelItem(1)->childCount(), 3);  // the read-only file's three lines

  // Replace Special repairs a file of lone carriage returns.
  std::string path = desktop.folder / "mac.txt";
  desktop.workbench.fs.WriteFile(path, "one\rtwo\rthree");
  desktop.Trigger("mnuReplaceSpecial");
  auto* special = desktop.Find<ReplaceSpecialForm>("frmReplaceSpecial");
  ASSERT_NE(special, nullptr);
  EXPECT_EQ(special->windowTitle(), "Replace Special");
  auto* repair = special->findChild<QPushButton*>("cmdReplace");
  EXPECT_FALSE(repair->isEnabled());
  desktop.ui.file_choices = {path};
  special->findChild<QPushButton*>("cmdBrowse")->click();
  EXPECT_EQ(FromQt(special->findChild<QLineEdit*>("txtFile")->text()), path);
  repair->click();
  EXPECT_EQ(desktop.workbench.fs.ReadFile(path), "one\r\ntwo\r\nthree");
  EXPECT_EQ(ListLines(special->findChild<QListWidget*>("lstReplaceSpecialStatus")).back(),
            "File fixed. 2 occurrences replaced.");
}

}  // namespace
}  // namespace pentrak
