#include <gtest/gtest.h>

#include <QCheckBox>
#include <QTabWidget>

#include "gui/gui_test_support.h"

namespace pentrak {
namespace {

TEST(ProjectPropertiesWindow, ANewProjectCreatedFromTheWindowIsShownAndGeneratesAtOnce) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  desktop.Trigger("mnuNewProject");
  auto* dialog = ShownDialog(desktop, "frmProjectProperties");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(dialog->windowTitle(), "New Project");
  EXPECT_EQ(Control<QPushButton>(dialog, "cmdOK")->text(), "Create");
  for (const char* name : {"ckCreateSamples", "ckCreateDefinition", "ckCreateRoots"}) {
    EXPECT_TRUE(Control<QCheckBox>(dialog, name)->isChecked()) << name;
  }

  const std::string root = desktop.folder / "shop";
  const std::string project_file = root + "/Shop.web";
  desktop.ui.file_choices.push_back(project_file);
  Type(Control<QLineEdit>(dialog, "name"), "Shop");
  // Typed with blanks and no closing separator; Enter leaves the field, then creates.
  auto* content_root = Control<QLineEdit>(dialog, "content-root");
  Type(content_root, "  " + root + "  ");
  desktop.ui.messages.clear();
  QTest::keyClick(content_root, Qt::Key_Return);
  EXPECT_TRUE(desktop.ui.messages.empty());
  EXPECT_FALSE(dialog->isVisible());

  const std::string saved = ReadFile(project_file);
  EXPECT_NE(saved.find("\r\ncontent-root=" + root + "/\r\n"), std::string::npos);
  EXPECT_NE(saved.find("\r\ndocument-root=" + root + "/\r\n"), std::string::npos);
  EXPECT_EQ(desktop.workbench.project.name, "Shop");
  EXPECT_EQ(FromQt(desktop.window->windowTitle()), "Pentrak CMS - Shop - " + project_file);
  auto* folders = desktop.Find<QListWidget>("lstFolders");
  ASSERT_EQ(folders->count(), 1);
  EXPECT_EQ(folders->item(0)->text(), "Main");

  desktop.Trigger("mnuGenerateProject");
  // Two pages of the sample definition, and two images listed without a template.
  EXPECT_EQ(desktop.StatusLines().back(), "Generated 2 of 4 documents (2  static documents).");
  for (const char* page : {"/index.html", "/partners.html"}) {
    std::string html = ReadFile(root + page);
    EXPECT_FALSE(html.empty()) << page;
    EXPECT_EQ(html.find("[@"), std::string::npos) << page;
  }
}

TEST(ProjectPropertiesWindow, TagsUpdateTheirExamplesAndAnOverlapIsAFieldErrorOnTheMacrosTab) {
  DesktopFixture desktop;
  ASSERT_TRUE(desktop.Open());
  const std::string project_file = desktop.workbench.project.project_file_path;
  const std::string before = ReadFile(project_file);
  desktop.Trigger("mnuProjectProperties");
  auto* dialog = ShownDialog(desktop, "frmProjectProperties");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Control<QPushButton>(dialog, "cmdOK")->text(), "OK");
  EXPECT_EQ(Control<QCheckBox>(dialog, "ckCreateRoots"), nullptr);
  auto* wildcard = Control<QLabel>(dialog, "example-wildcard-tag");
  auto* definition = Control<QLabel>(dialog, "example-macro-definition");
  auto* otherwise = Control<QLineEdit>(dialog, "conditional-else-tag");
  EXPECT_EQ(wildcard->text(), "[@MACRO*]");
  EXPECT_EQ(definition->text(), "[@MACRO(@param1:value1)]:");
  EXPECT_EQ(otherwise->text(), "}{");

  Type(Control<QLineEdit>(dialog, "wildcard-tag"), "@");
  Type(Control<QLineEdit>(dialog, "parameter-end-tag"), "");
  Type(Control<QLineEdit>(dialog, "conditional-start-tag"), "{{");
  EXPECT_EQ(wildcard->text(), "[@MACRO@]");
  EXPECT_EQ(definition->text(), "[@MACRO]:");
  EXPECT_EQ(otherwise->text(), "}{{");

  auto* tabs = Control<QTabWidget>(dialog, "tabProperties");
  tabs->setCurrentIndex(0);
  desktop.ui.messages.clear();
  Control<QPushButton>(dialog, "cmdOK")->click();
  ASSERT_EQ(desktop.ui.messages.size(), 1u);
  EXPECT_EQ(desktop.ui.messages[0].title, "Field Error");
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(tabs->currentWidget(), Control<QWidget>(dialog, "wildcard-tag")->parentWidget());
  EXPECT_EQ(ReadFile(project_file), before);

  // The reset puts the default tags back, and Escape closes without saving.
  Control<QPushButton>(dialog, "cmdResetMacroTags")->click();
  EXPECT_EQ(wildcard->text(), "[@MACRO*]");
  EXPECT_EQ(definition->text(), "[@MACRO(@param1:value1)]:");
  EXPECT_EQ(otherwise->text(), "}{");
  QTest::keyClick(dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(ReadFile(project_file), before);
}

}  // namespace
}  // namespace pentrak
