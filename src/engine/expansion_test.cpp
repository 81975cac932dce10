#include "engine/expansion.h"

#include "platform/error.h"
#include "testing/engine_test.h"

namespace pentrak {
namespace {

using testing::EngineTest;

class ExpansionTest : public EngineTest {
 protected:
  void SetUp() override {
    LoadText(kContentFileScope, "doc.par",
             "<S>AB<E>:\na\nb\n<EL>\n<S>THREE<E>:\n1\n2\n3\n<EL>\n<S>A<E>:\n1\n<EL>\n"
             "<S>B<E>:\n2\n<EL>\n<S>QUOTE<E>:\nit's\n<EL>\n<S>NESTED<E>:\nx <S>A<E>\n<EL>\n"
             "<S>YES<E>:\ny\n<EL>");
  }
};

TEST_P(ExpansionTest, ItemLineTable) {
  struct Case {
    const char* line;
    const char* exceptions;
    const char* result;
  };
  const Case cases[] = {
      {"  Item: <S>X<E>.", "ROOT_DIR", ""},
      {"  Item: <S>X<E>.", "ROOT_DIR, X ", "  Item: ."},
      {"  Item: <S>AB<E>.", "ROOT_DIR", "  Item: a\r\n  b."},
      {"  Item: <S><N>A<E>.", "ROOT_DIR", ""},
      {"  Item: <S><N>X<E>.", "ROOT_DIR", "  Item: ."},
  };
  for (const Case& c : cases) {
    project.delete_line_exceptions = c.exceptions;
    EXPECT_EQ(Expand(c.line), T(c.result)) << T(c.line) << " with " << c.exceptions;
  }
}

TEST_P(ExpansionTest, ValuesLinesAndTheDeleteLineRule) {
  struct Case {
    short delete_line;
    const char* line;
    const char* result;
    const char* warning;
  };
  const Case cases[] = {
      {1, "\t\t<S>THREE<E>", "\t\t1\r\n\t\t2\r\n\t\t3", ""},
      {1, " \t x <S>AB<E> y", " \t x a\r\n \t b y", ""},
      {1, "  <S><C>AB<E>;", "  a\r\n  b;", ""},
      {1, "<S><Q>QUOTE<E>", "it\\'s", ""},
      {1, "<S>A<E> and <S>B<E>", "1 and <S>B<E>", ""},
      {1, "<S>NESTED<E>!", "x <S>A<E>!", ""},
      {1, "<S>ROOT_DIR<E>/x.css", "/x.css", ""},
      {1, "<S><R>NONE<E> text", "",
       "WARNING: The required Macro <S>NONE<E> does not have a value."},
      {0, "<S><R>NONE<E> text", "",
       "WARNING: The required Macro <S>NONE<E> does not have a value."},
      {0, "   <S>NONE<E>  ", "", ""},
      {0, "a <S>NONE<E> b", "a  b", ""},
      {0, "<S><P>NONE<E>.", ".", ""},
  };
  for (const Case& c : cases) {
    project.delete_line = c.delete_line;
    short block = kOutsideBlock;
    std::string warning;
    EXPECT_EQ(Expand(c.line, block, warning), T(c.result)) << T(c.line);
    EXPECT_EQ(warning, T(c.warning)) << T(c.line);
  }
}

TEST_P(ExpansionTest, ConditionalBlocks) {
  struct Case {
    short delete_line;
    const char* line;
    const char* result;
    short state_after;
    bool warned;  // the warnings' texts are the tag parser test's
  };
  // One document, line after line: the state carries from each row to the next.
  const Case cases[] = {
      {1, "a <S><ELSE><E> b", "", 0, true}, {0, "a <S><ELSE><E> b", "a  b", 0, true},
      {0, "<S><FI><E>", "", 0, true},       {1, "<S><IF>YES<E> text", "", 1, false},
      {1, "<S><IF>NO<E>", "", 1, true},     {0, "x <S><IF>YES<E>", "x ", 1, true},
      {1, "<S><ELSE><E>", "", 2, false},    {1, "<S><ELSE><E> text", "", 1, false},
      {1, "<S><FI><E>", "", 0, false},      {1, "<S><IF>NO<E>", "", 2, false},
      {1, "<S><FI><E>", "", 0, false},
  };
  short block = kOutsideBlock;
  for (const Case& c : cases) {
    project.delete_line = c.delete_line;
    std::string warning;
    EXPECT_EQ(Expand(c.line, block, warning), T(c.result)) << T(c.line);
    EXPECT_EQ(block, c.state_after) << T(c.line);
    EXPECT_EQ(warning.empty(), !c.warned) << T(c.line);
  }
}

TEST_P(ExpansionTest, WildcardMakesALinePerMatch) {
  LoadText(kProjectMacroScope, "p.par", "<S>MENU_TOP<E>:\nTop\n<EL>");
  LoadText(kContentFileScope, "menu.par",
           "<S>MENU_HOME<E>:\nHome\n<EL>\n<S>OTHER<E>:\no\n<EL>\n<S>MENU_NEWS<E>:\nNews\n<EL>\n"
           "<S>MENU_END<E>:\n<EL>\n<S>MENU_LATE<E>:\nlate\n<EL>");
  EXPECT_EQ(Expand("Menu: <S>MENU<W><E> (<W>)"),
            "Menu: Top (_TOP)\r\nMenu: Home (_HOME)\r\nMenu: News (_NEWS)");
  definition.folders[0].no_project_macro_file = 1;
  EXPECT_EQ(Expand("<S>MENU_H<W><E> <W>"), "Home OME");
  EXPECT_EQ(Expand("  <S>NOTHING<W><E>"), "");
}

TEST_P(ExpansionTest, ReservedMacros) {
  project.name = "Site";
  project.reserved_project_name_macro = "SITE_NAME";
  clock.SetNow(1784116800);  // 2026-07-15 12:00 UTC: the same calendar day from UTC-11 to +11
  EXPECT_EQ(Expand("<S>SITE_NAME<E> / <S>PENTRAK_FOLDER_NAME<E> / <S>PENTRAK_DOCUMENT_NAME<E>"),
            T("Site / <S>PENTRAK_FOLDER_NAME<E> / <S>PENTRAK_DOCUMENT_NAME<E>"));
  EXPECT_EQ(Expand("<S>PENTRAK_FOLDER_NAME<E>/<S>PENTRAK_DOCUMENT_NAME<E>"),
            T("News/<S>PENTRAK_DOCUMENT_NAME<E>"));
  EXPECT_EQ(Expand("<S>PENTRAK_DOCUMENT_NAME<E>"), "news.html");
  EXPECT_EQ(Expand("<S>DATE<PS>format:%d.%m.%Y<PE><E>"), "15.07.2026");
  const std::string plain = Expand("<S>DATE<E>");
  EXPECT_NE(plain, "");
  EXPECT_EQ(Expand("<S>DATE<PS>format:<PE><E>"), plain);
  LoadText(kContentFileScope, "date.par", "<S>DATE<E>:\ntoday\n<EL>");
  EXPECT_EQ(Expand("<S>DATE<PS>format:%Y<PE><E>"), "today");
}

TEST_P(ExpansionTest, AnInvalidTagLeavesTheStateAlone) {
  short block = kBlockIncluded;
  std::string warning;
  const std::string line = T("x <S>A");
  try {
    std::string result;
    ExpandMacroTag(expansion, line, result, 0, 0, block, warning);
    ADD_FAILURE() << "no error for " << line;
  } catch (const Error& e) {
    EXPECT_EQ(e.description(), "Invalid tag in string: " + line);
  }
  EXPECT_EQ(block, kBlockIncluded);
}

INSTANTIATE_TEST_SUITE_P(TagSets, ExpansionTest,
                         ::testing::Values(testing::DefaultTags(), testing::OtherTags()),
                         testing::TagSetName);

}  // namespace
}  // namespace pentrak
