#include "shell/document_list.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

#include "platform/file_system.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "settings/project_settings.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// Local time is UTC while it lives, so that a time stamp's text is known beforehand.
class UtcTime {
 public:
  UtcTime() {
    if (const char* tz = std::getenv("TZ")) saved_ = tz;
    ::setenv("TZ", "UTC0", 1);
    ::tzset();
  }
  ~UtcTime() {
    if (saved_) {
      ::setenv("TZ", saved_->c_str(), 1);
    } else {
      ::unsetenv("TZ");
    }
    ::tzset();
  }

 private:
  std::optional<std::string> saved_;
};

Document MakeDocument(std::string path, std::string template_path) {
  Document document;
  document.path = std::move(path);
  document.template_path = std::move(template_path);
  return document;
}

TEST(DocumentRows, ShowEachDocumentWithItsAttributesUpToTheFirstEmptySlot) {
  UtcTime utc;
  TestFolder folder;
  FileSystem fs;
  ProjectSettings project;
  project.document_root = folder.path() + "/";
  ProgramOptions options;
  const std::int64_t kTime = 1614834367;  // 2021-03-04 05:06:07 UTC
  fs.CreateFolderPath(folder / "news/");
  fs.WriteFile(folder / "index.html", "<p>\r\n");
  fs.WriteFile(folder / "news/old.html", "<p>\r\n");
  fs.SetReadOnly(folder / "news/old.html", true);
  fs.WriteFile(folder / "logo.gif", "GIF");
  fs.CreateFolder(folder / "sub");
  for (const char* file : {"index.html", "news/old.html", "logo.gif"}) {
    fs.SetLastModified(folder / file, kTime);
  }

  ProjectDefinition definition;
  definition.folders.resize(3);
  definition.folders[0].name = "Main";
  definition.folders[0].documents = {MakeDocument("index.html", "page.tpl"),
                                     MakeDocument("news\\old.html", "page.tpl"),
                                     MakeDocument("missing.html", "page.tpl"),
                                     MakeDocument("logo.gif", ""),
                                     MakeDocument("plan.html", ""),
                                     MakeDocument("sub", "page.tpl"),
                                     MakeDocument("", ""),
                                     MakeDocument("after.html", "page.tpl")};
  definition.folders[1].documents = {MakeDocument("nameless.html", "page.tpl")};
  DocumentListContext context{fs, project, options, definition};

  struct Expected {
    const char* name;
    const char* notes;
    const char* modified;
  };
  const Expected with_attributes[] = {
      {"index.html", "", "2021-03-04 05:06:07"},  {"old.html", "read-only", "2021-03-04 05:06:07"},
      {"missing.html", "not generated", ""},      {"logo.gif", "static", "2021-03-04 05:06:07"},
      {"plan.html", "static, not generated", ""}, {"sub", "not generated", ""}};
  std::vector<DocumentRow> rows = DocumentRows(context, 0, false, true);
  ASSERT_EQ(rows.size(), std::size(with_attributes));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(rows[i].slot, static_cast<int>(i));
    EXPECT_EQ(rows[i].name, with_attributes[i].name);
    EXPECT_EQ(rows[i].path, definition.folders[0].documents[i].path);
    EXPECT_EQ(rows[i].template_path, definition.folders[0].documents[i].template_path);
    EXPECT_EQ(rows[i].notes, with_attributes[i].notes);
    EXPECT_EQ(rows[i].modified, with_attributes[i].modified);
  }

  // With paths the name is the definition's; without attributes the disk is not asked.
  rows = DocumentRows(context, 0, true, false);
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[1].name, "news\\old.html");
  for (const DocumentRow& row : rows) {
    EXPECT_EQ(row.notes, "") << row.path;
    EXPECT_EQ(row.modified, "") << row.path;
  }

  // A folder index that names no folder, or a free folder slot, lists nothing.
  for (int index : {-1, 1, 3}) EXPECT_TRUE(DocumentRows(context, index, true, true).empty());
}

}  // namespace
}  // namespace pentrak
