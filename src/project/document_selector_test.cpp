#include "project/document_selector.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

TEST(DocumentSelectorTest, FindsFoldersAndDocumentsOrListsTheNearestNames) {
  ProjectDefinition definition;
  definition.folders.resize(3);  // the last slot is free
  definition.folders[0].name = "Main";
  for (const char* path : {"index.html", "sub/page.html", "about.html", ""}) {
    definition.folders[0].documents.emplace_back().path = path;
  }
  definition.folders[1].name = "News";
  definition.folders[1].documents.emplace_back().path = "b.html";

  struct Case {
    const char* folder;
    const char* document;
    int found_folder;
    int found_document;
    const char* error;
  };
  const Case cases[] = {
      {"", "index.html", 0, 0, ""},
      {"", "Main/about.html", 0, 2, ""},
      {"Main", "about.html", 0, 2, ""},
      {"", "sub/page.html", 0, 1, ""},  // no folder "sub": the whole text is the document
      {"", "Main/sub\\page.html", 0, 1, ""},
      {"", "b.html", 1, 0, ""},
      {"News", "", 1, -1, ""},
      {"", "News/index.html", -1, -1,
       "the project has no document \"index.html\" in the folder \"News\"."},
      {"", "abut.html", -1, -1,
       "the project has no document \"abut.html\"; the nearest names are \"about.html\" and "
       "\"b.html\"."},
      {"", "Mian/about.html", -1, -1,
       "the project has no folder \"Mian\"; the nearest name is \"Main\"."},
      {"Nws", "", -1, -1, "the project has no folder \"Nws\"; the nearest name is \"News\"."},
      {"main", "index.html", -1, -1,
       "the project has no folder \"main\"; the nearest name is \"Main\"."},
      {"Nope", "", -1, -1, "the project has no folder \"Nope\"."},
  };
  for (const Case& c : cases) {
    DocumentChoice choice = ChooseDocument(definition, c.folder, c.document);
    EXPECT_EQ(choice.folder, c.found_folder) << c.folder << " | " << c.document;
    EXPECT_EQ(choice.document, c.found_document) << c.folder << " | " << c.document;
    EXPECT_EQ(choice.error, c.error) << c.folder << " | " << c.document;
  }
}

}  // namespace
}  // namespace pentrak
