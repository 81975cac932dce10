#include "project/project_structure.h"

#include <gtest/gtest.h>

#include "project/definition.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

using Lines = std::vector<std::string>;

TEST(ProjectStructureTest, FoldersDocumentsAndTheirFilesInDefinitionOrSortedOrderOrOnlyACount) {
  ProjectSettings project = testing::NewProject();
  project.name = "Site";
  ProjectDefinition definition;
  definition.global_content_files = {"globals.par"};
  definition.document_count = 4;
  definition.folders.resize(4);  // folder 2 stays free
  Folder& main = definition.folders[0];
  main.name = "Main";
  main.no_project_macro_file = 1;
  main.content_files = {"tools.par"};
  main.documents.resize(5);  // document 3 stays free
  main.documents[0] = {
      "index.html", "templates\\general.tpl", {"index.par", "extra.par", "", "", ""}, 0, 0, 1,
      "index.html"};
  main.documents[1] = {"partners.html", "t.tpl", {"", "", "", "", ""}, 1, 0, -1, "partners.html"};
  main.documents[2] = {"images\\space.gif", "", {"", "", "", "", ""}, 0, 0, -1,
                       "images\\space.gif"};
  main.documents[4].path = "after-a-free-slot.html";
  Folder& about = definition.folders[1];
  about.name = "About";
  about.documents.resize(1);
  about.documents[0] = {"about.html", "t.tpl", {"extra.par", "about.par", "", "", ""}, 1, 1, 0,
                        "about.html"};
  definition.folders[3].name = "AfterAFreeSlot";

  const Lines head = {"Project: Site (4 Documents)", "Global content files: globals.par"};
  const Lines main_lines = {"Folder: Main [no project macro file]",
                            "  Folder content files: tools.par",
                            "  Document: index.html [-o1]",
                            "    Template: templates\\general.tpl",
                            "    Content files: index.par, extra.par",
                            "  Document: partners.html [no folder content files]",
                            "    Template: t.tpl",
                            "  Document: images\\space.gif",
                            "    Template: (static)"};
  const Lines about_lines = {"Folder: About",
                             "  Document: about.html [-ox; no folder or global content files]",
                             "    Template: t.tpl", "    Content files: extra.par, about.par"};
  auto join = [](std::initializer_list<Lines> parts) {
    Lines all;
    for (const Lines& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
  };
  EXPECT_EQ(ProjectStructureLines(definition, project, false),
            join({head, main_lines, about_lines}));
  EXPECT_EQ(ProjectStructureLines(definition, project, true),
            join({head, about_lines, main_lines}));
  // Each file once, where it first appears; nothing after a free slot.
  EXPECT_EQ(TemplateNames(definition), (Lines{"templates\\general.tpl", "t.tpl"}));
  EXPECT_EQ(ContentFileNames(definition),
            (Lines{"globals.par", "tools.par", "index.par", "extra.par", "about.par"}));

  // The files a document reads, in the order it loads them, each table up to its limit: "!!!"
  // leaves only the project macro file, which a folder's "*" takes away. (Which scopes each
  // document sees is tested through the preview's record of what each one read.)
  project.max_content_files = 1;
  using Sources = std::vector<DocumentSource>;
  EXPECT_EQ(DocumentSources(definition, project, 0, 0, "/p/m.par"),
            (Sources{{"globals.par", SourceKind::kGlobal},
                     {"tools.par", SourceKind::kFolder},
                     {"index.par", SourceKind::kDocument},
                     {"templates\\general.tpl", SourceKind::kTemplate}}));
  EXPECT_EQ(DocumentSources(definition, project, 1, 0, "/p/m.par"),
            (Sources{{"/p/m.par", SourceKind::kProjectMacroFile},
                     {"extra.par", SourceKind::kDocument},
                     {"t.tpl", SourceKind::kTemplate}}));

  // An empty project shows only its count.
  ProjectDefinition empty;
  SizeDefinitionTables(empty);
  EXPECT_EQ(ProjectStructureLines(empty, project, true), Lines{"Project: Site (0 Documents)"});
}

}  // namespace
}  // namespace pentrak
