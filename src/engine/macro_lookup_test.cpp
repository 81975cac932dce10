#include "engine/macro_lookup.h"

#include "testing/engine_test.h"

namespace pentrak {
namespace {

using testing::EngineTest;

class MacroLookupTest : public EngineTest {
 protected:
  void SetUp() override { project.delete_line = 0; }
  Document& TheDocument() { return definition.folders[0].documents[0]; }
};

TEST_P(MacroLookupTest, WalksTheChainInOrder) {
  LoadText(kProjectMacroScope, "p.par", "<S>TITLE<E>:\nproject\n<EL>");
  LoadText(kContentFileScope, "d.par", "<S>TITLE<E>:\ndocument\n<EL>\n<S>X<E>:\n<EL>");
  LoadText(kFolderGlobalScope, "f.par", "<S>SHARED<E>:\nfolder\n<EL>");
  LoadText(kGlobalScope, "g.par",
           "<S>X<E>:\nglobal\n<EL>\n<S>SHARED<E>:\nglobal\n<EL>\n<S>G<E>:\ng\n<EL>");
  struct Case {
    const char* tag;
    const char* value;
  };
  const Case cases[] = {
      {"<S>TITLE<E>", "project"},
      {"<S><P>TITLE<E>", "document"},
      {"<S>SHARED<E>", "folder"},
      {"<S>G<E>", "g"},
      {"<S>X<E>", ""},
      {"<S>title<E>", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.tag), c.value) << T(c.tag);

  TheDocument().no_folder_globals = 1;
  EXPECT_EQ(Expand("<S>SHARED<E>"), "global");
  TheDocument().no_project_globals = 1;
  EXPECT_EQ(Expand("<S>G<E>"), "");
  definition.folders[0].no_project_macro_file = 1;
  EXPECT_EQ(Expand("<S>TITLE<E>"), "document");
}

TEST_P(MacroLookupTest, AMissingContentFileEndsItsScope) {
  LoadText(kContentFileScope, "a.par", "<S>A<E>:\na\n<EL>");
  EXPECT_EQ(Load(kContentFileScope, folder / "missing.par", true), kLoadMissingFile);
  LoadText(kContentFileScope, "c.par", "<S>C<E>:\nc\n<EL>");
  LoadText(kGlobalScope, "g.par", "<S>C<E>:\nglobal\n<EL>");
  EXPECT_EQ(Expand("<S>A<E>"), "a");
  EXPECT_EQ(Expand("<S>C<E>"), "global");
}

TEST_P(MacroLookupTest, SubstitutesParameters) {
  LoadText(kContentFileScope, "l.par",
           "<S>LINK<PS>url<PE><PS>text:Home<PE><E>:\n<PS>text<PE> at <PS>url<PE>\n<EL>\n"
           "<S>SAY<PS>text<PE><E>:\n'<PS><Q>text<PE>' or <PS>text<PE>\n<EL>");
  struct Case {
    const char* line;
    const char* result;
  };
  const Case cases[] = {
      {"<S>LINK<PS>url:a.html<PE><E>", "Home at a.html"},
      {"<S>LINK<PS>text<PE><E>", " at "},
      {"<S>LINK<PS>text:<PE><PS>url:x<PE><PS>other:y<PE><E>", " at x"},
      {"<S>SAY<PS>text:it's<PE><E>", "'it\\'s' or it's"},
      {"<S>LINK<E>", "Home at "},  // the last tag's parameters are gone
  };
  for (const Case& c : cases) EXPECT_EQ(Expand(c.line), c.result) << T(c.line);
}

TEST_P(MacroLookupTest, ParentReferencesPointPastTheirFile) {
  LoadText(kProjectMacroScope, "p.par", "<S>NAV<E>:\np <S><P>NAV<E>\n<EL>");
  LoadText(kContentFileScope, "a.par", "<S>NAV<E>:\na [<S><P>NAV<E>]\n<EL>");
  LoadText(kContentFileScope, "b.par", "<S>NAV<E>:\nb\n<EL>");
  LoadText(kFolderGlobalScope, "f.par", "<S>NAV<E>:\nf\n<EL>");
  LoadText(kGlobalScope, "g.par", "<S>NAV<E>:\ng [<S><P>NAV<E>]\n<EL>");
  struct Case {
    short by_file;
    const char* line;
    const char* result;
  };
  const Case cases[] = {
      {1, "<S>NAV<E>", "p <S><P>NAV<E>"},  // the project macro file's value is not rewritten
      {1, "<S><P>NAV<E>", "a [<S><P><P>NAV<E>]"},
      {1, "<S><P><P>NAV<E>", "b"},
      {1, "<S><P><P><P>NAV<E>", "f"},
      {0, "<S><P>NAV<E>", "a [<S><P><P>NAV<E>]"},
      {0, "<S><P><P>NAV<E>", "f"},
      {0, "<S><P><P><P>NAV<E>", "g [<S><P><P><P><P>NAV<E>]"},
      {0, "<S><P><P><P><P>NAV<E>", ""},
  };
  for (const Case& c : cases) {
    project.parent_reference_is_by_file = c.by_file;
    EXPECT_EQ(Expand(c.line), T(c.result)) << "by file " << c.by_file << ": " << T(c.line);
  }
}

INSTANTIATE_TEST_SUITE_P(TagSets, MacroLookupTest,
                         ::testing::Values(testing::DefaultTags(), testing::OtherTags()),
                         testing::TagSetName);

}  // namespace
}  // namespace pentrak
