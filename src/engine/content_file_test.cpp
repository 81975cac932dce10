#include "engine/content_file.h"

#include "platform/error.h"
#include "platform/growing_table.h"
#include "testing/engine_test.h"

namespace pentrak {
namespace {

using testing::EngineTest;

class ContentFileTest : public EngineTest {
 protected:
  const MacroTable& Table(int index = 0) const { return macros.content_files[index]; }

  // "name=value" for each macro of the first table, up to its first free slot, joined by "|".
  std::string Macros() const {
    std::string found;
    for (const Macro& m : Table().slots) {
      if (m.name.empty()) break;
      found += (found.empty() ? "" : "|") + m.name + "=" + m.value;
    }
    return found;
  }

  // "reference=default" for each declared parameter, up to the first free pair, joined by "|".
  static std::string Declared(const Macro& macro) {
    std::string found;
    for (const MacroParameter& p : macro.parameters) {
      if (p.reference.empty()) break;
      found += (found.empty() ? "" : "|") + p.reference + "=" + p.default_value;
    }
    return found;
  }

  // An error's number and text, or "none".
  std::string LoadError(const std::string& path, int index) {
    try {
      LoadContentFile(load, kContentFileScope, path, index, true, false);
    } catch (const Error& e) {
      return std::to_string(e.number()) + " " + e.description();
    }
    return "none";
  }
};

TEST_P(ContentFileTest, ReadsTheSyntaxExample) {
  const std::string path = WriteFile(
      "site.par",
      "This file holds the site-wide macros.\n<S>TITLE<E>:\nMy Site\n<EL>\n"
      "<S>LINK<PS>url<PE><PS>text:Click here<PE><E>:\nGo to <PS>text<PE> at <PS>url<PE>\n<EL>");
  EXPECT_EQ(Load(kContentFileScope, path), kLoadOk);
  EXPECT_EQ(Table().file_name, path);
  EXPECT_EQ(Macros(), T("<S>TITLE<E>=My Site|<S>LINK<E>=Go to <PS>text<PE> at <PS>url<PE>"));
  const Macro& link = Table().slots[1];
  EXPECT_EQ(Declared(link), T("<PS>url<PE>=|<PS>text<PE>=Click here"));
  EXPECT_EQ(Table().slots[0].line_number, 2);
  EXPECT_EQ(link.line_number, 5);
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
}

TEST_P(ContentFileTest, AssemblesValuesFromLogicalLines) {
  struct Case {
    const char* text;
    const char* macros;
  };
  const Case cases[] = {
      {"<S>A<E>:\n<EL>", "<S>A<E>="},
      {"<S>A<E>: ignored\n\nx\n\n\ny  \n\n<EL> ignored", "<S>A<E>=x\r\n\r\ny"},
      {"<S>A<E>:\n  indented\n\tnext\n<EL>", "<S>A<E>=  indented\r\n\tnext"},
      {"<S>A<E>:\nabc<LC>\ndef\n<EL>", "<S>A<E>=abcdef"},
      {"<S>A<LC>\n<E>:\nv\n<EL>", "<S>A<E>=v"},
      {"<S>A<E>:\nabc<LC> \ndef\n<EL>", "<S>A<E>=abc<LC>\r\ndef"},
      {"<S>A<E>:\none\n<S>B<E>:\ntwo\n<EL>", "<S>A<E>=one\r\n<S>B<E>:\r\ntwo"},
      {"<S>a<E>:\nlower\n<EL>\n<S>A<E>:\nupper\n<EL>", "<S>a<E>=lower|<S>A<E>=upper"},
  };
  for (const Case& c : cases) {
    ClearMacroTables(macros, {.content_files = true});
    EXPECT_EQ(LoadText(kContentFileScope, "a.par", c.text), kLoadOk) << T(c.text);
    EXPECT_EQ(Macros(), T(c.macros)) << T(c.text);
  }
}

TEST_P(ContentFileTest, LogsEachWarningAndCountsIt) {
  const char* const kNone = "WARNING: No Macro definitions found in file: <FILE>";
  const char* const kDuplicate = "WARNING: Duplicate definition for Macro: <S>A<E> in file: <FILE>";
  struct Case {
    const char* text;
    std::vector<const char*> log;  // each line indented ten blanks; <FILE> is the file's path
  };
  const Case cases[] = {
      {"just a comment\n\nanother", {kNone}},
      {"<S>A here",
       {"WARNING: Possible error in Macro definition. Could not find Macro End Tag on line: <S>A "
        "here in file: <FILE>",
        kNone}},
      {"<S>A<E>:\n1\n<EL>\n<S>A<E>:\n2\n<EL>\n<S>A<E>:\n3\n<EL>", {kDuplicate, kDuplicate}},
      {"<S>A<E>:\n1\n<EL>\n<S>B<E>:\nopen",
       {"WARNING: Possible error in Macro definition. Could not find end of Macro: <S>B<E> in "
        "file: <FILE>"}},
      {"<S>A<PS>a<PE><PS>b<PE><PS>c<PE><PS>d<PE><PS>e<PE><PS>f<PE><E>:\n<EL>",
       {"WARNING: The maximum number of parameters have been exceeded in the Macro "
        "<S>A<PS>a<PE><PS>b<PE><PS>c<PE><PS>d<PE><PS>e<PE><PS>f<PE><E>."}},
  };
  for (const Case& c : cases) {
    fs.WriteFile(work_files.log_file, "");
    ClearMacroTables(macros, {.content_files = true});
    const std::string path = WriteFile("w.par", c.text);
    EXPECT_EQ(Load(kContentFileScope, path), kLoadWarnings) << T(c.text);
    std::vector<std::string> expected;
    for (const char* line : c.log) {
      std::string text = "          " + T(line);
      if (std::size_t at = text.find("<FILE>"); at != std::string::npos)
        text.replace(at, 6, "<dir>/w.par");
      expected.push_back(text);
    }
    EXPECT_EQ(LogLines(), expected) << T(c.text);
  }
}

TEST_P(ContentFileTest, UnloggedWarningsStillCountExceptTheParameterLimit) {
  const std::string duplicate = WriteFile("d.par", "<S>A<E>:\n1\n<EL>\n<S>A<E>:\n<EL>");
  EXPECT_EQ(LoadContentFile(load, kContentFileScope, duplicate, 0, false, false), kLoadWarnings);
  EXPECT_EQ(Macros(), T("<S>A<E>=1|<S>A<E>="));
  const std::string many =
      WriteFile("m.par", "<S>A<PS>a<PE><PS>b<PE><PS>c<PE><PS>d<PE><PS>e<PE><PS>f<PE><E>:\n<EL>");
  EXPECT_EQ(LoadContentFile(load, kContentFileScope, many, 1, false, false), kLoadOk);
  EXPECT_EQ(Table(1).slots[0].parameters[4].reference, T("<PS>e<PE>"));
  EXPECT_EQ(LogLines(), std::vector<std::string>{});
}

TEST_P(ContentFileTest, MissingFilesAndErrorsKeepWhatWasRead) {
  SlotAt(SlotAt(macros.content_files, 0).slots, 0).name = "kept";
  EXPECT_EQ(LoadContentFile(load, kContentFileScope, "", 0, true, false), kLoadOk);
  const std::string missing = folder / "missing.par";
  EXPECT_EQ(LoadContentFile(load, kContentFileScope, missing, 0, true, true), kLoadMissingFile);
  EXPECT_EQ(Table().file_name + Table().slots[0].name, "kept");
  EXPECT_EQ(LoadError(missing, 0),
            "10005 Could not open file at " + missing + ". Project generation halted.");

  std::string text;
  for (int i = 0; i <= 50; ++i) text += "<S>M" + std::to_string(i) + "<E>:\n<EL>\n";
  const std::string full = WriteFile("full.par", text);
  EXPECT_EQ(LoadError(full, 1), "10002 Maximum number of Macros exceeded in: " + full);
  EXPECT_EQ(Table(1).slots[49].name, T("<S>M49<E>"));

  const std::string bad = WriteFile("bad.par", "<S>OK<E>:\n<EL>\n<S>A<PS>x:1<E>:\n<EL>");
  EXPECT_EQ(LoadError(bad, 2),
            T("10001 Error processing macro tag and parameters: <S>A<PS>x:1<E>"));
  EXPECT_EQ(Table(2).slots[0].name + "|" + Table(2).slots[1].name, T("<S>OK<E>|"));
}

// Under the highest limits a scope holds the tables loaded, a table the macros read and a macro
// the parameters it declares.
TEST_P(ContentFileTest, TablesHoldWhatWasLoadedUnderTheHighestLimits) {
  project.max_content_files = 32767;
  project.max_content_file_macros = 32767;
  project.max_parameters = 32767;
  const std::string path =
      WriteFile("a.par", "<S>A<E>:\n1\n<EL>\n<S>B<PS>x<PE><PS>y:2<PE><E>:\n<PS>x<PE>\n<EL>");
  EXPECT_EQ(LoadContentFile(load, kContentFileScope, path, 2, true, false), kLoadOk);
  ASSERT_EQ(macros.content_files.size(), 3u);
  EXPECT_EQ(Table(0).file_name + Table(1).file_name, "");
  ASSERT_EQ(Table(2).slots.size(), 2u);
  EXPECT_EQ(Declared(Table(2).slots[1]), T("<PS>x<PE>=|<PS>y<PE>=2"));
  EXPECT_EQ(Table(2).slots[1].parameters.size(), 2u);
  EXPECT_EQ(macros.call_parameters.size(), 2u);
}

TEST_P(ContentFileTest, ClearingEmptiesOnlyTheChosenScopes) {
  const char* const text = "<S>A<PS>x:1<PE><E>:\nv\n<EL>";
  LoadText(kContentFileScope, "a.par", text);
  LoadText(kGlobalScope, "g.par", text);
  LoadText(kProjectMacroScope, "p.par", text);
  ClearMacroTables(macros, {.content_files = true, .project_macros = true});
  EXPECT_EQ(macros.content_files_loaded, 0);
  EXPECT_FALSE(macros.project_macro_file_loaded);
  for (const MacroTable* table : {&macros.content_files[0], &macros.project_macros}) {
    const Macro& slot = table->slots[0];
    EXPECT_EQ(table->file_name + slot.name + slot.value + slot.parameters[0].reference, "");
    EXPECT_EQ(slot.line_number, 0);
  }
  EXPECT_EQ(macros.globals_loaded, 1);
  EXPECT_EQ(macros.globals[0].slots[0].value, "v");
}

INSTANTIATE_TEST_SUITE_P(TagSets, ContentFileTest,
                         ::testing::Values(testing::DefaultTags(), testing::OtherTags()),
                         testing::TagSetName);

}  // namespace
}  // namespace pentrak
