#include <gtest/gtest.h>

#include <QComboBox>
#include <QProgressBar>
#include <QTabWidget>

#include "gui/gui_test_support.h"

namespace pentrak {
namespace {

TEST(PublishWindow, ThePublishTabSetsTheDestinationAndPublishSendsTheSiteThere) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  project.Write(project.Document("index.html"), "<h1>Home</h1>\r\n");
  project.Write(project.Document("news/today.html"), "<p>Today</p>\r\n");
  project.Open("[Main]\r\nindex.html\r\n");

  // Nowhere to publish yet: the command offers the Publish tab.
  desktop.ui.messages.clear();
  desktop.ui.message_answers = {Answer::kOk};
  desktop.Trigger("mnuPublish");
  ASSERT_EQ(desktop.ui.messages.size(), 1u);
  EXPECT_EQ(desktop.ui.messages[0].text,
            "This project has nowhere to publish to yet.\rChoose the destination on the Publish "
            "tab of Project Properties now?");
  QDialog* dialog = ShownDialog(desktop, "frmProjectProperties");
  ASSERT_NE(dialog, nullptr);
  auto* tabs = Control<QTabWidget>(dialog, "tabProperties");
  EXPECT_EQ(tabs->tabText(tabs->currentIndex()).remove(QLatin1Char('&')), "Publish");

  // An SFTP server: the local folder's field is out of use, and the other way round.
  auto* method = Control<QComboBox>(dialog, "publish-method");
  method->setCurrentIndex(2);
  EXPECT_FALSE(Control<QLineEdit>(dialog, "publish-folder")->isEnabled());
  EXPECT_TRUE(Control<QLineEdit>(dialog, "publish-host")->isEnabled());
  const std::string www = desktop.folder / "www";
  method->setCurrentIndex(1);
  EXPECT_FALSE(Control<QLineEdit>(dialog, "publish-host")->isEnabled());
  Type(Control<QLineEdit>(dialog, "publish-folder"), www);
  // Enter leaves the field, which ends the folder with a separator, then confirms.
  QTest::keyClick(Control<QLineEdit>(dialog, "publish-folder"), Qt::Key_Return);
  EXPECT_FALSE(dialog->isVisible());
  const std::string saved = project.Read(desktop.folder / "tools/tools.web");
  EXPECT_NE(saved.find("\r\npublish-method=1\r\npublish-folder=" + www + "/\r\n"),
            std::string::npos)
      << saved;

  // The progress window stands while the files go out, and leaves with the publish.
  bool progress_shown = false;
  desktop.ui.on_service = [&](int) {
    if (QDialog* shown = ShownDialog(desktop, "frmPublish")) {
      progress_shown = shown->findChild<QProgressBar*>(QStringLiteral("prgPublish")) != nullptr;
    }
  };
  desktop.Trigger("mnuPublish");
  desktop.ui.on_service = nullptr;
  EXPECT_TRUE(progress_shown);
  EXPECT_EQ(ShownDialog(desktop, "frmPublish"), nullptr);
  EXPECT_EQ(project.Read(www + "/news/today.html"), "<p>Today</p>\r\n");
  EXPECT_EQ(desktop.StatusLines().back(),
            "Sent 2 of 2 files (29 bytes), removed 0 files; 0 unchanged.");

  // A file no longer generated: the window asks before removing it.
  std::filesystem::remove(project.Document("news/today.html"));
  desktop.ui.messages.clear();
  desktop.ui.message_answers = {Answer::kYes};
  desktop.Trigger("Publish");
  ASSERT_EQ(desktop.ui.messages.size(), 1u);
  EXPECT_EQ(desktop.ui.messages[0].buttons, Buttons::kYesNo);
  EXPECT_FALSE(std::filesystem::exists(www + "/news/today.html"));
  EXPECT_EQ(desktop.StatusLines().back(),
            "Sent 0 of 1 file (0 bytes), removed 1 file; 1 unchanged.");

  // A page that links to a missing one: the window asks, and only Yes sends it.
  const std::string broken = "<a href=\"news/today.html\">Today</a>\r\n";
  project.Write(project.Document("index.html"), broken);
  for (Answer answer : {Answer::kNo, Answer::kYes}) {
    desktop.ui.messages.clear();
    desktop.ui.message_answers = {answer};
    desktop.Trigger("Publish");
    ASSERT_EQ(desktop.ui.messages.size(), 1u);
    EXPECT_EQ(desktop.ui.messages[0].text,
              "Before publishing to " + www +
                  "/: the site has broken internal links (missing pages, images or anchors). "
                  "Check Links in the Tools menu lists them.\rPublish anyway?");
    EXPECT_EQ(project.Read(www + "/index.html") == broken, answer == Answer::kYes);
  }
}

TEST(PublishWindow, AFailedPublishIsOneMessageAndTheCommandsComeBack) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  ToolProject project(desktop);
  project.Write(project.Document("index.html"), "<h1>Home</h1>\r\n");
  const std::string missing = desktop.folder / "no/such/www";
  project.Open("[Main]\r\nindex.html\r\n",
               "publish-method=1\r\npublish-folder=" + missing + "\r\n");
  desktop.ui.messages.clear();
  desktop.Trigger("Publish");
  ASSERT_EQ(desktop.ui.messages.size(), 1u);
  EXPECT_EQ(desktop.ui.messages[0].text,
            "Cannot publish to " + missing +
                ": the folder does not exist, nor does the folder that would hold it.");
  EXPECT_TRUE(desktop.Find<QAction>("mnuGenerateProject")->isEnabled());
  EXPECT_FALSE(desktop.Find<QAction>("mnuStopGeneration")->isEnabled());
}

}  // namespace
}  // namespace pentrak
