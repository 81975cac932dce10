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
    for (const char* name : {"g.par", "f.par", "a.par", "b.par", "c.par", "m.par", "t.tpl"}) {
      f.WriteText(std::string("src/") + name, name);
    }
    int main = f.AddFolder("Main", {f.Source("f.par")});
    f.AddDocument(main, "a.html", f.Source("t.tpl"), {f.Source("a.par")});
    f.AddDocument(main, "b.html", f.Source("t.tpl"), {f.Source("b.par")});
    f.definition.folders[main].documents[1].no_folder_globals = 1;  // "!!"
    f.AddDocument(main, "c.html", f.Source("t.tpl"), {f.Source("c.par")});
    f.definition.folders[main].documents[2].no_folder_globals = 1;  // "!!!"
    f.definition.folders[main].documents[2].no_project_globals = 1;
    f.definition.global_content_files[0] = f.Source("g.par");
    int starred = f.AddFolder("Starred");
    f.definition.folders[starred].no_project_macro_file = 1;  // "*"
    f.AddDocument(starred, "s.html", f.Source("t.tpl"));
    f.AddDocument(starred, "static.gif", "");
    record.ReadingDefinition(f.Source("m.par"));
    GenerateAll();
  }

  void GenerateAll() {
    std::vector<std::vector<bool>> chosen = record.Choose(f.definition);
    for (std::size_t folder = 0; folder < chosen.size(); ++folder) {
      for (std::size_t document = 0; document < chosen[folder].size(); ++document) {
        if (chosen[folder][document]) {
          record.Generated(static_cast<int>(folder), static_cast<int>(document));
        }
      }
    }
  }

  // The paths of the documents the record picks.
  std::vector<std::string> Chosen() {
    std::vector<std::string> paths;
    std::vector<std::vector<bool>> chosen = record.Choose(f.definition);
    for (std::size_t folder = 0; folder < chosen.size(); ++folder) {
      for (std::size_t document = 0; document < chosen[folder].size(); ++document) {
        if (chosen[folder][document]) {
          paths.push_back(f.definition.folders[folder].documents[document].path);
        }
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
      {"a file saved with its own bytes",
       [](GeneratedSite& t) {
         t.f.WriteText("src/a.par", "a.par");
         EXPECT_FALSE(t.record.LookAgain(t.f.Source("a.par")));
       },
       {}},
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
  };
  for (const auto& c : kCases) {
    GeneratedSite site;
    c.make(site);
    EXPECT_EQ(site.Chosen(), c.chosen) << c.change;
  }
}

TEST(ReadRecordTest, ADocumentNotGeneratedIsPickedUntilItIs) {
  GeneratedSite site;
  TestContext& f = site.f;
  ReadRecord& record = site.record;
  auto Chosen = [&] { return site.Chosen(); };
  site.Change("a.par");
  EXPECT_EQ(Chosen(), Paths{"a.html"});
  EXPECT_EQ(Chosen(), Paths{"a.html"});  // the run failed on it
  record.Generated(0, 0);
  EXPECT_EQ(Chosen(), Paths{});
  // A file that was missing when its document was generated is a change when it comes.
  f.fs.RemoveFile(f.Source("b.par"));
  EXPECT_TRUE(record.LookAgain(f.Source("b.par")));
  EXPECT_EQ(Chosen(), Paths{"b.html"});
  record.Generated(0, 1);
  site.Change("b.par");
  EXPECT_EQ(Chosen(), Paths{"b.html"});
  // Every document, after the project's settings changed.
  record.ForgetDocuments();
  EXPECT_EQ(Chosen(), (Paths{"a.html", "b.html", "c.html", "s.html"}));
}

}  // namespace
}  // namespace pentrak
