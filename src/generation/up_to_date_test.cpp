#include "generation/up_to_date.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>

#include "platform/error.h"
#include "platform/file_times.h"
#include "testing/test_context.h"

namespace pentrak {
namespace {

constexpr std::int64_t kDocumentTime = 1700000000;

// The document site/a.html with sources g1, g2 (project), f1 (folder), c1 (own) and the
// template t; each source's time is given relative to the document's, or missing.
class UpToDateTest : public ::testing::Test {
 protected:
  UpToDateTest() {
    f.definition.global_content_files = {f.Path("src/g1.par"), f.Path("src/g2.par")};
    const int folder = f.AddFolder("Main", {f.Path("src/f1.par")});
    f.AddDocument(folder, f.Path("site/a.html"), f.Path("src/t.tpl"), {f.Path("src/c1.par")});
  }

  void SetTimes(const std::map<std::string, int>& offsets) {
    for (const char* name : {"src/g1.par", "src/g2.par", "src/f1.par", "src/c1.par", "src/t.tpl"}) {
      auto it = offsets.find(name);
      if (it == offsets.end()) continue;
      f.WriteText(name, "x");
      f.fs.SetLastModified(f.Path(name), kDocumentTime + it->second);
    }
  }

  bool Check() {
    f.fs.WriteFile(f.work_files.log_file, "");
    FileTimes times(f.fs);
    return CheckUpToDate(UpToDateContext{f.project, f.definition, f.fs, times, f.log}, 0, 0);
  }

  TestContext f;
};

TEST_F(UpToDateTest, SourcesAreComparedInOrderUntilOneIsNotOlder) {
  const std::map<std::string, int> older = {{"src/g1.par", -5},
                                            {"src/g2.par", -5},
                                            {"src/f1.par", -5},
                                            {"src/c1.par", -5},
                                            {"src/t.tpl", -5}};
  struct Case {
    const char* what;
    std::map<std::string, int> changes;  // offsets that differ from "older"
    short no_folder_globals;
    short no_project_globals;
    bool needs_generation;
  };
  const Case cases[] = {
      {"all older", {}, 0, 0, false},
      {"one second older is older", {{"src/t.tpl", -1}}, 0, 0, false},
      {"template changed alone", {{"src/t.tpl", 10}}, 0, 0, true},
      {"second global newer", {{"src/g2.par", 1}}, 0, 0, true},
      {"folder file newer", {{"src/f1.par", 3}}, 0, 0, true},
      {"own content file newer", {{"src/c1.par", 3}}, 0, 0, true},
      // The same second ends the comparison: later, newer sources are not looked at.
      {"same second first", {{"src/g1.par", 0}, {"src/t.tpl", 100}}, 0, 0, false},
      // "!!!" skips the globals, "!!" only the folder's files.
      {"globals skipped", {{"src/g1.par", 50}}, 1, 1, false},
      {"folder files skipped", {{"src/f1.par", 50}}, 1, 0, false},
      {"globals still count with !!", {{"src/g1.par", 50}}, 1, 0, true},
  };
  for (const Case& c : cases) {
    std::map<std::string, int> offsets = older;
    for (const auto& [name, offset] : c.changes) offsets[name] = offset;
    SetTimes(offsets);
    f.WriteText("site/a.html", "doc");
    f.fs.SetLastModified(f.Path("site/a.html"), kDocumentTime);
    Document& document = f.definition.folders[0].documents[0];
    document.no_folder_globals = c.no_folder_globals;
    document.no_project_globals = c.no_project_globals;
    EXPECT_EQ(Check(), c.needs_generation) << c.what;
    EXPECT_EQ(f.ReadText("temp/pentrak.txt"), c.needs_generation
                                                  ? "          >Source files out-of-date\r\n"
                                                  : "          >Source files up-to-date\r\n")
        << c.what;
  }
}

TEST_F(UpToDateTest, MissingDocumentNeedsNoSourceButAMissingSourceFails) {
  // No source exists at all: a missing document is out of date without reading one.
  EXPECT_TRUE(Check());

  f.WriteText("site/a.html", "doc");
  f.fs.SetLastModified(f.Path("site/a.html"), kDocumentTime);
  SetTimes({{"src/g1.par", -5}});
  EXPECT_THROW(Check(), Error);
}

TEST_F(UpToDateTest, OneRunLooksAtEachSourceOnceUntilItIsWritten) {
  SetTimes({{"src/g1.par", -5},
            {"src/g2.par", -5},
            {"src/f1.par", -5},
            {"src/c1.par", -5},
            {"src/t.tpl", -5}});
  Folder& folder = f.definition.folders[0];
  folder.documents.push_back(folder.documents[0]);
  folder.documents[1].path = f.Path("site/b.html");
  for (const char* name : {"site/a.html", "site/b.html"}) {
    f.WriteText(name, "doc");
    f.fs.SetLastModified(f.Path(name), kDocumentTime);
  }
  std::map<std::string, int> looks;
  bool counting = true;
  f.fs.SetFaultHook([&](FileOp op, const std::string& path) {
    if (counting && op == FileOp::kAttributes) ++looks[path];
    return 0;
  });
  FileTimes times(f.fs);
  UpToDateContext context{f.project, f.definition, f.fs, times, f.log};
  EXPECT_FALSE(CheckUpToDate(context, 0, 0));
  EXPECT_FALSE(CheckUpToDate(context, 0, 1));
  // The template is written in between: the next document sees its new time.
  counting = false;
  f.fs.SetLastModified(f.Path("src/t.tpl"), kDocumentTime + 5);
  counting = true;
  times.Forget(f.Path("src/t.tpl"));
  EXPECT_TRUE(CheckUpToDate(context, 0, 0));
  f.fs.SetFaultHook(nullptr);
  const std::map<std::string, int> expected = {
      {f.Path("site/a.html"), 2}, {f.Path("site/b.html"), 1}, {f.Path("src/g1.par"), 1},
      {f.Path("src/g2.par"), 1},  {f.Path("src/f1.par"), 1},  {f.Path("src/c1.par"), 1},
      {f.Path("src/t.tpl"), 2}};
  EXPECT_EQ(looks, expected);
}

}  // namespace
}  // namespace pentrak
