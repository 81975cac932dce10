#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "gui/replace_special_window.h"
#include "gui/replace_window.h"
#include "gui/tool_window_test_support.h"

namespace pentrak {
namespace {

TEST(ReplaceWindow, AsksFirstAndLeavesAReadOnlyFileAlone) {
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
}

TEST(ReplaceSpecialWindow, RepairsACarriageReturnOnlyFile) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  std::string path = desktop.folder / "mac.txt";
  desktop.workbench.fs.WriteFile(path, "one\rtwo\rthree");

  desktop.Trigger("mnuReplaceSpecial");
  auto* form = desktop.Find<ReplaceSpecialForm>("frmReplaceSpecial");
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->windowTitle(), "Replace Special");
  auto* replace = form->findChild<QPushButton*>("cmdReplace");
  EXPECT_FALSE(replace->isEnabled());
  desktop.ui.file_choices = {path};
  form->findChild<QPushButton*>("cmdBrowse")->click();
  EXPECT_EQ(FromQt(form->findChild<QLineEdit*>("txtFile")->text()), path);
  replace->click();
  // The file is one line holding two lone carriage returns; it gains a final line ending.
  EXPECT_EQ(desktop.workbench.fs.ReadFile(path), "one\r\ntwo\r\nthree\r\n");
  EXPECT_EQ(ListLines(form->findChild<QListWidget*>("lstReplaceSpecialStatus")),
            (std::vector<std::string>{"Processing File: " + path,
                                      "File fixed. 2 occurrences replaced."}));
}

}  // namespace
}  // namespace pentrak
