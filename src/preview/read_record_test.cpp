#include "preview/read_record.h"

#include <gtest/gtest.h>

#include <functional>

#include "testing/test_context.h"

namespace pentrak {
namespace {

// Two folders of documents over shared and own files, all generated once; then one change, and
// the documents the record picks for the next run.
struct GeneratedSite {
  GeneratedSite() {
    for (const char* name : {"g.par", "f.par", "a.par", "b.par", "c.par", "m.par", "t.tpl"})
      f.WriteText(std::string("src/") + name, name);
    int main = f.AddFolder("Main", {f.Source("f.par")});
    f.AddDocument(main, "a.html", f.Source("t.tpl"), {f.Source("a.par")});
    f.AddDocument(main, "b.html", f.Source("t.tpl"), {f.Source("b.par")});
    f.definition.folders[main].documents[1].no_folder_globals = 1;  // "!!"
    f.AddDocument(main, "c.html", f.Source("t.tpl"), {f.Source("c.par")});
    Document& c = f.definition.folders[main].documents[2];
    c.no_folder_globals = c.no_project_globals = 1;  // "!!!"
    f.definition.global_content_files = {f.Source("g.par")};
    int starred = f.AddFolder("Starred");
    f.definition.folders[starred].no_project_macro_file = 1;  // "*"
    f.AddDocument(starred, "s.html", f.Source("t.tpl"));
    f.AddDocument(starred, "static.gif", "");
    record.ReadingDefinition(f.Source("m.par"));
    Chosen(true);
  }

  // The paths of the documents the record picks; generated makes each one generated.
  std::vector<std::string> Chosen(bool generated = false) {
    std::vector<std::string> paths;
    std::vector<std::vector<bool>> chosen = record.Choose(f.definition);
    for (std::size_t folder = 0; folder < chosen.size(); ++folder) {
      for (std::size_t document = 0; document < chosen[folder].size(); ++document) {
        if (!chosen[folder][document]) continue;
        paths.push_back(f.definition.folders[folder].documents[document].path);
        if (generated) record.Generated(static_cast<int>(folder), static_cast<int>(document));
      }
    }
    return paths;
  }

  void Change(const char* name) {
    f.WriteText(std::string("src/") + name, std::string(name) + ", changed");
    EXPECT_TRUE(record.LookAgain(f.Source(name))) << name;
  }

  TestContext f;
  ReadRecord record{f.fs, f.project};
};

using Paths = std::vector<std::string>;

TEST(ReadRecordTest, PicksTheDocumentsThatReadAChangedFile) {
  const struct {
    const char* change;
    std::function<void(GeneratedSite&)> make;
    Paths chosen;
  } kCases[] = {
      {"nothing", [](GeneratedSite&) {}, {}},
      {"a page's own file", [](GeneratedSite& t) { t.Change("a.par"); }, {"a.html"}},
      {"the template",
       [](GeneratedSite& t) { t.Change("t.tpl"); },
       {"a.html", "b.html", "c.html", "s.html"}},
      {"a global file",
       [](GeneratedSite& t) { t.Change("g.par"); },
       {"a.html", "b.html", "s.html"}},
      {"the folder's file", [](GeneratedSite& t) { t.Change("f.par"); }, {"a.html"}},
      {"the project macro file",
       [](GeneratedSite& t) { t.Change("m.par"); },
       {"a.html", "b.html", "c.html"}},
      {"a page inserted before the others",
       [](GeneratedSite& t) {
         std::vector<Document>& documents = t.f.definition.folders[0].documents;
         documents.insert(documents.begin(), documents[0]);
         documents[0].path = documents[0].written_path = "new.html";
         t.record.ReadingDefinition(t.f.Source("m.par"));
       },
       {"new.html"}},
      {"a folder renamed",
       [](GeneratedSite& t) {
         t.f.definition.folders[1].name = "Renamed";
         t.record.ReadingDefinition(t.f.Source("m.par"));
       },
       {"s.html"}},
      {"a page's files swapped between its own and its folder's",
       [](GeneratedSite& t) {
         Folder& main = t.f.definition.folders[0];
         std::swap(main.content_files[0], main.documents[0].content_files[0]);
         t.record.ReadingDefinition(t.f.Source("m.par"));
       },
       {"a.html"}},
      {"a page that failed",
       [](GeneratedSite& t) {
         t.Change("a.par");
         EXPECT_EQ(t.Chosen(), Paths{"a.html"});  // and not generated
       },
       {"a.html"}},
      {"a file that was missing, come back",
       [](GeneratedSite& t) {
         t.f.fs.RemoveFile(t.f.Source("b.par"));
         EXPECT_TRUE(t.record.LookAgain(t.f.Source("b.par")));
         EXPECT_EQ(t.Chosen(true), Paths{"b.html"});
         t.Change("b.par");
       },
       {"b.html"}},
      {"the project's settings",
       [](GeneratedSite& t) { t.record.ForgetDocuments(); },
       {"a.html", "b.html", "c.html", "s.html"}},
  };
  for (const auto& c : kCases) {
    GeneratedSite site;
    c.make(site);
    EXPECT_EQ(site.Chosen(), c.chosen) << c.change;
  }
}

}  // namespace
}  // namespace pentrak
