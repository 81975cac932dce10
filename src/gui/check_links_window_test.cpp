#include <gtest/gtest.h>

#include <QCheckBox>
#include <QListView>

#include "gui/check_links_window.h"
#include "gui/gui_test_support.h"

namespace pentrak {
namespace {

TEST(CheckLinksWindow, ListsTheFindingsAndOpensTheLineThatWroteTheLink) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  project.Write(project.Source("page.tpl"), "<h1>[@TITLE]</h1>\r\n[@BODY]\r\n");
  project.Write(project.Source("index.par"),
                "[@TITLE]:\r\nHome\r\n[@]\r\n[@BODY]:\r\n<a href=\"about.html\">ok</a>\r\n"
                "<a href=\"gone.html\">gone</a>\r\n[@]\r\n");
  project.Write(project.Source("about.par"),
                "[@TITLE]:\r\nAbout\r\n[@]\r\n[@BODY]:\r\n<img src=\"nope.png\">\r\n[@]\r\n");
  project.Open("[Main]\r\nindex.html,page.tpl,index.par\r\nabout.html,page.tpl,about.par\r\n");
  desktop.Trigger("mnuGenerateProject");

  desktop.Trigger("mnuCheckLinks");
  auto* form = desktop.Find<CheckLinksForm>("frmCheckLinks");
  ASSERT_NE(form, nullptr);
  EXPECT_FALSE(form->findChild<QCheckBox*>("ckExternal")->isChecked());
  form->findChild<QPushButton*>("cmdCheck")->click();
  EXPECT_EQ(FromQt(form->findChild<QLabel*>("lblCheckSummary")->text()),
            "2 pages, 3 links checked: 2 broken.");
  auto* findings = form->findChild<QListView*>("lstFindings");
  ASSERT_EQ(findings->model()->rowCount(), 2);
  const QModelIndex first = findings->model()->index(0, 0);
  EXPECT_EQ(FromQt(first.data().toString()),
            "about.html:2:11: broken image \"nope.png\": no file nope.png\n"
            "    written at about.par:5, in the value of [@BODY]");
  EXPECT_EQ(FromQt(findings->model()->index(1, 0).data().toString()),
            "index.html:3:10: broken link \"gone.html\": no file gone.html\n"
            "    written at index.par:6, in the value of [@BODY]");

  // A double-click opens the editor at the source line; touch stands in for the editor and
  // names a file after what it was given.
  ProgramOptions& options = desktop.workbench.options;
  options.editor = "/usr/bin/touch";
  options.editor_options = "%FILE%.line%LINE%";
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
  const QRect rect = findings->visualRect(first);
  QTest::mouseClick(findings->viewport(), Qt::LeftButton, {}, rect.center());
  QTest::mouseDClick(findings->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_TRUE(DesktopFixture::WaitFor(
      [&] { return desktop.workbench.fs.FileExists(project.Source("about.par.line5")); }));
}

}  // namespace
}  // namespace pentrak
