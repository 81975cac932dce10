#include "project/definition_file.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "platform/error.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "project/definition.h"
#include "settings/program_options.h"
#include "testing/scripted_user_interface.h"
#include "testing/test_folder.h"
#include "testing/test_project.h"

namespace pentrak {
namespace {

using Names = std::vector<std::string>;

// The filled slots of a table of names.
Names Filled(const Names& slots) {
  Names names;
  for (std::size_t i = 0; i < slots.size() && !slots[i].empty(); ++i) names.push_back(slots[i]);
  return names;
}

// Every stored name, walked as readers walk the tables: project globals, then per folder its
// name, its content files and its documents (path and content files).
Names Stored(const ProjectDefinition& definition) {
  Names names = Filled(definition.global_content_files);
  auto add = [&names](const Names& more) { names.insert(names.end(), more.begin(), more.end()); };
  for (const Folder& folder : definition.folders) {
    if (folder.name.empty()) break;
    names.push_back(folder.name);
    add(Filled(folder.content_files));
    for (const Document& document : folder.documents) {
      if (document.path.empty()) break;
      names.push_back(document.path);
      add(Filled(document.content_files));
    }
  }
  return names;
}

std::string LimitText(const std::string& exceeded) {
  return "You have exceeded the maximum number of " + exceeded +
         ". Please update your Project Properties.";
}

class DefinitionFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    project = testing::NewProject();
    project.content_root = temp.path();
    project.definition_file = "project.txt";
  }

  // Writes the definition file into the content root (when lines are given), sizes the tables
  // and reads with the given switches.
  void Read(const Names& lines, bool resolve_paths = false, bool report_errors = false) {
    if (!lines.empty()) fs.WriteLines(temp / "project.txt", lines);
    SizeDefinitionTables(definition);
    ReadDefinition({fs, ui, project, options, definition}, resolve_paths, report_errors);
  }

  Error ReadError(const Names& lines) {
    try {
      Read(lines);
    } catch (const Error& error) {
      return error;
    }
    ADD_FAILURE() << "the read raised no error";
    return Error(0, "");
  }

  TestFolder temp;
  FileSystem fs;
  ScriptedUserInterface ui;
  ProjectSettings project;
  ProgramOptions options;
  ProjectDefinition definition;
};

TEST_F(DefinitionFileTest, LinesAreClassifiedByTheFirstTestThatMatches) {
  Read({"# site definition", "", "orphan.html,t.tpl", "  Globals=g.par!  ", "[Main]*",
        "globals=lower.html,t.tpl", "Globals=tools.par!", "page[1].html,t.tpl", "x[Globals=y]",
        "[ Spaced ]", "]x[Star*]", "[Open", "a.html", "!", "[After]", "b.html"});
  EXPECT_EQ(Stored(definition), (Names{"g.par", "Main", "tools.par", "globals=lower.html", "1",
                                       "Globals=y", " Spaced ", "Star*", "Open", "a.html"}));
  std::vector<short> no_project_macro_file;
  for (const Folder& folder : definition.folders)
    no_project_macro_file.push_back(folder.no_project_macro_file);
  EXPECT_EQ(no_project_macro_file, (std::vector<short>{1, 0, 0, 0, 0, 0}));
  EXPECT_EQ(definition.folders[2].header_line, 9);
  EXPECT_EQ(definition.document_count, 2);
}

TEST_F(DefinitionFileTest, DocumentLinesGiveFieldsFlagsAndEndMarkers) {
  struct Case {
    std::string line, path, template_path;
    Names content_files;
    short flag, no_folder_globals, no_project_globals;
  };
  const Case cases[] = {
      {"index.html -o1,t\\gen.tpl,index.par!", "index.html", "t\\gen.tpl", {"index.par"}, 1, 0, 0},
      {"partners.html,t.tpl,partners.par!!", "partners.html", "t.tpl", {"partners.par"}, -1, 1, 0},
      {"solo.html,t.tpl!!!", "solo.html", "t.tpl", {}, -1, 1, 1},
      {"images\\space.gif", "images\\space.gif", "", {}, -1, 0, 0},
      {",t.tpl!!", "", "", {}, 0, 0, 0},  // uses up a slot and leaves it empty
      {"upper.html -O1,t.tpl", "upper.html -O1", "t.tpl", {}, -1, 0, 0},
      {"both.html -o2 -o1,t.tpl", "both.html -o2", "t.tpl", {}, 1, 0, 0},
      {"twice.html -ox -ox,t.tpl", "twice.html", "t.tpl", {}, 0, 0, 0},
      {"gap.html  -o2,t.tpl", "gap.html", "t.tpl", {}, 2, 0, 0},
      {"glued.html-o1,t.tpl", "glued.html-o1", "t.tpl", {}, -1, 0, 0},
      {"spaced.html , t.tpl , a.par , b.par", "spaced.html", "t.tpl", {"a.par", "b.par"}, -1, 0, 0},
      {"stop.html,t.tpl,,late.par", "stop.html", "t.tpl", {}, -1, 0, 0},
  };
  Names lines = {"[Main]"};
  for (const Case& c : cases) lines.push_back(c.line);
  Read(lines);
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    const Document& d = definition.folders[0].documents[i];
    EXPECT_EQ((Names{d.path, d.template_path}), (Names{c.path, c.template_path})) << c.line;
    EXPECT_EQ(Filled(d.content_files), c.content_files) << c.line;
    EXPECT_EQ((std::vector<short>{d.optimization_flag, d.no_folder_globals, d.no_project_globals}),
              (std::vector<short>{c.flag, c.no_folder_globals, c.no_project_globals}))
        << c.line;
  }
  EXPECT_EQ(definition.document_count, static_cast<int>(std::size(cases)) - 1);
}

TEST_F(DefinitionFileTest, LimitErrorsKeepWhatWasStoredBeforeThem) {
  Names news = {"[News]"};
  Names first_fifty = {"News"};
  for (int i = 1; i <= 51; ++i) news.push_back("d" + std::to_string(i) + ".html,t.tpl");
  for (int i = 1; i <= 50; ++i) first_fifty.push_back("d" + std::to_string(i) + ".html");
  struct Case {
    short ProjectSettings::*limit;
    short value;
    Names lines;
    int number;
    std::string exceeded;
    Names stored;
  };
  const Case cases[] = {
      {&ProjectSettings::max_folders,
       2,
       {"[A]", "[B]", "[C]"},
       10012,
       "Folders defined for this Project",
       {"A", "B"}},
      {&ProjectSettings::max_docs, 50, news, 10013, "Documents for the Folder \"News\"",
       first_fifty},
      {&ProjectSettings::max_docs,
       0,
       {"[Empty]", "d.html"},
       10013,
       "Documents for the Folder \"Empty\"",
       {"Empty"}},
      {&ProjectSettings::max_globals,
       2,
       {"Globals=a.par,b.par,c.par!"},
       10014,
       "Global Content Files for this Project",
       {"a.par", "b.par"}},
      {&ProjectSettings::max_folder_globals,
       1,
       {"[Nav]", "Globals=a.par,b.par"},
       10014,
       "Global Content Files for the Folder \"Nav\"",
       {"Nav", "a.par"}},
      {&ProjectSettings::max_content_files,
       1,
       {"[F]", "d.html,t.tpl,a.par,b.par!"},
       10015,
       "Content Files for the Document \"d.html\"",
       {"F", "d.html", "a.par"}},
  };
  for (const Case& c : cases) {
    SetUp();
    project.*c.limit = c.value;
    Error error = ReadError(c.lines);
    EXPECT_EQ(error.number(), c.number) << c.exceeded;
    EXPECT_EQ(error.description(), LimitText(c.exceeded));
    EXPECT_EQ(Stored(definition), c.stored) << c.exceeded;
  }

  // Shown through the common error report instead of raised.
  project.max_folders = 1;
  Read({"[A]", "[B]"}, false, true);
  ASSERT_EQ(ui.messages.size(), 1u);
  EXPECT_EQ(ui.messages[0].title, "Error");
  EXPECT_EQ(ui.messages[0].text, "Error # 10012 was generated by PentrakCMS\r" +
                                     LimitText("Folders defined for this Project"));
}

TEST_F(DefinitionFileTest, ProjectGlobalsLinesAndTheGlobalContentFilesSetting) {
  struct Case {
    std::string setting;
    Names lines, stored;
  };
  const Case cases[] = {
      // A second line writes from slot 0 again; later slots keep the first line's names.
      {"", {"Globals=a.par,b.par,c.par!", "Globals=x.par!"}, {"x.par", "b.par", "c.par"}},
      {"common.par,menu.par", {"Globals=site.par!"}, {"site.par", "common.par", "menu.par"}},
      {"common.par,menu.par", {"Globals=site.par"}, {"site.par", "common.par", "menu.par"}},
      {"common.par", {"[F]", "Globals=f.par!"}, {"F", "f.par"}},
  };
  for (const Case& c : cases) {
    project.global_content_files = c.setting;
    Read(c.lines);
    EXPECT_EQ(Stored(definition), c.stored) << c.lines[0];
  }

  project.global_content_files = "common.par,menu.par";
  EXPECT_EQ(ReadError({"Globals=a.par,b.par,c.par,d.par!"}).number(), 10014);
  EXPECT_EQ(Stored(definition), (Names{"a.par", "b.par", "c.par", "d.par", "common.par"}));
}

TEST_F(DefinitionFileTest, NamesAreResolvedThroughTheRootsOrKeptAsWritten) {
  const std::string src = temp / "src";
  const std::string common = temp / "common";
  fs.CreateFolder(src);
  fs.CreateFolder(common);
  fs.WriteLines(src + "/a.par", {});
  fs.WriteLines(common + "/project.txt", {"Globals=a.par!", "[Main]", "sub\\i.html,t.tpl"});
  project.content_root = src;
  project.default_content_root = common;
  project.document_root = "/www";

  auto names = [this] {
    const Document& document = definition.folders[0].documents[0];
    return Names{definition.global_content_files[0], document.path, document.template_path};
  };
  Read({}, true);
  EXPECT_EQ(names(), (Names{src + "/a.par", NativePath("/www/sub\\i.html"), common + "/t.tpl"}));
  Read({}, false);
  EXPECT_EQ(names(), (Names{"a.par", "sub\\i.html", "t.tpl"}));
}

TEST_F(DefinitionFileTest, MissingOrEmptyDefinitionFileSetting) {
  Read({"[Old]", "old.html"});
  const std::string tail =
      ". Please check the path to your Project Definition File or create a Project Definition "
      "file at this location.";
  project.definition_file = "missing.txt";
  Error missing = ReadError({});
  EXPECT_EQ(missing.number(), 10005);
  EXPECT_EQ(missing.description(),
            "Could not open Project Definition file at " + temp.path() + "/missing.txt" + tail);
  // A file that exists but cannot be read names the file too.
  project.definition_file = "project.txt";
  fs.SetFaultHook([](FileOp op, const std::string&) { return op == FileOp::kRead ? EACCES : 0; });
  EXPECT_EQ(ReadError({}).description(), "Could not open Project Definition file at " +
                                             (temp / "project.txt") + ". Permission denied.");
  fs.SetFaultHook(nullptr);
  project.definition_file = "";
  EXPECT_EQ(ReadError({}).description(),
            "Could not open Project Definition file at " + temp.path() + "/" + tail);

  // Without any root nothing is read, quietly, and the last read is gone.
  project.content_root = "";
  Read({});
  EXPECT_EQ(Stored(definition), Names{});
  EXPECT_EQ(definition.document_count, 0);
}

TEST(DefinitionTablesTest, FieldSlotsLeaveRoomForTheLongestLineAndItsEndMark) {
  struct Case {
    short content_files, globals, folder_globals;
    int expected;
  };
  const Case cases[] = {
      {5, 5, 5, 8},    {1, 9, 5, 10},
      {1, 2, 12, 13},  {0, 0, 0, 3},  // path, template and the end mark even when nothing else fits
      {-4, -4, -4, 3},
  };
  for (const Case& c : cases) {
    ProjectSettings project;
    project.max_content_files = c.content_files;
    project.max_globals = c.globals;
    project.max_folder_globals = c.folder_globals;
    EXPECT_EQ(FieldSlots(project), c.expected) << c.content_files << "/" << c.globals;
  }
}

// Under the highest limits the tables hold what the definition holds, not what the limits
// allow, and a smaller definition read after a larger one leaves nothing of it; the limits still
// end a read that goes past them.
TEST_F(DefinitionFileTest, TablesHoldWhatTheDefinitionHoldsUnderTheHighestLimits) {
  for (short ProjectSettings::*limit :
       {&ProjectSettings::max_folders, &ProjectSettings::max_docs, &ProjectSettings::max_globals,
        &ProjectSettings::max_folder_globals, &ProjectSettings::max_content_files}) {
    project.*limit = 32767;
  }
  Read({"Globals=g1.par,g2.par,g3.par", "[F0]", "Globals=x.par,y.par", "d0.html,t.tpl,a,b,c",
        "d1.html,t.tpl", "[F1]", "d2.html"});
  ASSERT_EQ(definition.folders.size(), 2u);

  // Read again without sizing, as every generation run reads. A line that begins with a comma
  // takes its slot and leaves it empty, so walkers end there.
  fs.WriteLines(temp / "project.txt",
                {"Globals=g.par", "[A]", "Globals=f.par", ",t.tpl", "a.html,t.tpl,c.par!"});
  ReadDefinition({fs, ui, project, options, definition}, false, false);
  EXPECT_EQ(Stored(definition), (Names{"g.par", "A", "f.par"}));
  EXPECT_EQ(definition.global_content_files.size(), 1u);
  ASSERT_EQ(definition.folders.size(), 1u);
  const Folder& folder = definition.folders[0];
  EXPECT_EQ(folder.content_files.size(), 1u);
  ASSERT_EQ(folder.documents.size(), 2u);
  EXPECT_EQ(folder.documents[0].path + "|" + folder.documents[0].template_path, "|");
  EXPECT_EQ(folder.documents[1].path, "a.html");
  EXPECT_EQ(folder.documents[1].content_files, Names{"c.par"});
  // The scratch space of the longest line read (five fields and the empty one that ends them).
  EXPECT_EQ(definition.field_buffer.size(), 6u);

  Names too_many = {"[Big]"};
  for (int d = 0; d <= 32767; ++d) too_many.push_back("p" + std::to_string(d) + ".html");
  EXPECT_EQ(ReadError(too_many).description(), LimitText("Documents for the Folder \"Big\""));
  EXPECT_EQ(definition.document_count, 32767);
  EXPECT_EQ(definition.folders[0].documents.size(), 32767u);
}

}  // namespace
}  // namespace pentrak
