#include "engine/tag_parser.h"

#include "platform/error.h"
#include "testing/engine_test.h"

namespace pentrak {
namespace {

using testing::EngineTest;

// The modifiers that are set, in a short readable form: "level=0 start params".
std::string Describe(const TagModifiers& m) {
  std::string text = "level=" + std::to_string(m.parent_level);
  const std::pair<bool, const char*> flags[] = {
      {m.conditional_start, " start"}, {m.conditional_else, " else"},
      {m.conditional_end, " end"},     {m.has_parameters, " params"},
      {m.wildcard, " wildcard"},       {m.non_blank_delete, " nonblank"},
      {m.quote_escape, " quote"},      {m.concatenate, " concat"},
      {m.required, " required"}};
  for (const auto& [set, name] : flags) {
    if (set) text += name;
  }
  return text;
}

class TagParserTest : public EngineTest {};

TEST_P(TagParserTest, LocatesTheFirstTagOfALine) {
  struct Case {
    const char* line;
    const char* parts;  // before|tag|after
  };
  const Case cases[] = {
      {"a <S>X<E> b", "a |<S>X<E>| b"},
      {"<S>A<E> and <S>B<E>", "|<S>A<E>| and <S>B<E>"},
      {"<S>A<PS>x:a<E>b<PE><E>.", "|<S>A<PS>x:a<E>b<PE><E>|."},
      {"x<S>L<PS>u:a<PE><PS>t:b<PE><E>y", "x|<S>L<PS>u:a<PE><PS>t:b<PE><E>|y"},
  };
  for (const Case& c : cases) {
    const std::string line = T(c.line);
    const ParsedTag parsed = LocateFirstTag(project.tags, line);
    EXPECT_EQ(std::string(parsed.before) + "|" + std::string(parsed.tag) + "|" +
                  std::string(parsed.after),
              T(c.parts));
  }
}

TEST_P(TagParserTest, RecognisesModifiersInTheirOrder) {
  struct Case {
    const char* tag;
    short state;
    const char* name;
    const char* modifiers;
    const char* warning;
  };
  const Case cases[] = {
      {"<S>X<E>", 0, "<S>X<E>", "level=-1", ""},
      {"<S><P>X<E>", 0, "<S>X<E>", "level=0", ""},
      {"<S><P><P>X<E>", 0, "<S>X<E>", "level=1", ""},
      {"<S><N><R>X<E>", 0, "<S><R>X<E>", "level=-1 nonblank", ""},
      {"<S><N>A<PS>x:1<PE><E>", 0, "<S><N>A<E>", "level=-1 params", ""},
      {"<S><R>A<PS>x:1<PE><E>", 0, "<S>A<E>", "level=-1 params required", ""},
      {"<S><Q>QUOTE<E>", 0, "<S>QUOTE<E>", "level=-1 quote", ""},
      {"<S><C><R>X<E>", 0, "<S><R>X<E>", "level=-1 concat", ""},
      {"<S>MENU<W><E>", 0, "<S>MENU<W><E>", "level=-1 wildcard", ""},
      {"<S><IF>X<E>", 0, "<S>X<E>", "level=-1 start", ""},
      {"<S><IF>X<E>", 1, "", "level=-1",
       "WARNING: Conditional blocks cannot be nested. <S><IF>X<E> appears within a conditional "
       "block."},
      {"<S><ELSE><E>", 0, "", "level=-1",
       "WARNING: Conditional else tags must appear within conditional blocks. <S><ELSE><E> does "
       "not appear within a conditional block."},
      {"<S><ELSE><E>", 2, "<S><E>", "level=-1 else", ""},
      {"<S><FI><E>", 0, "", "level=-1",
       "WARNING: Conditional end tags must appear within conditional blocks. <S><FI><E> does not "
       "appear within a conditional block."},
      {"<S><FI><E>", 1, "<S><E>", "level=-1 end", ""},
  };
  for (const Case& c : cases) {
    std::string tag = T(c.tag);
    std::string warning;
    const TagModifiers found = RecogniseModifiers(project, macros, tag, c.state, warning);
    EXPECT_EQ(tag, T(c.name)) << c.tag << " in state " << c.state;
    EXPECT_EQ(Describe(found), c.modifiers) << c.tag << " in state " << c.state;
    EXPECT_EQ(warning, T(c.warning)) << c.tag << " in state " << c.state;
  }
}

TEST_P(TagParserTest, ParsesParameterLists) {
  struct Case {
    const char* tag;
    short max_parameters;
    short trim;
    const char* name;
    const char* pairs;  // reference=value, joined by "|"
    const char* warning;
  };
  const Case cases[] = {
      {"<S>L<PS>url:a.html<PE><PS>text:Go<PE><E>", 5, 0, "<S>L<E>",
       "<PS>url<PE>=a.html|<PS>text<PE>=Go", ""},
      {"<S>A<PS>x<PE><E>", 5, 0, "<S>A<E>", "<PS>x<PE>=", ""},
      {"<S>A<PS>x: b <PE><E>", 5, 0, "<S>A<E>", "<PS>x<PE>= b ", ""},
      {"<S>A<PS>x: b <PE><E>", 5, 1, "<S>A<E>", "<PS>x<PE>=b", ""},
      {"<S>A<PS>t:a:b<PE><E>", 5, 0, "<S>A<E>", "<PS>t<PE>=a:b", ""},
      {"  <S>A <PS>x:1<PE><E>  ", 5, 0, "<S>A<E>", "<PS>x<PE>=1", ""},
      {"<S>A<PS>a:1<PE><PS>b:2<PE><E>", 2, 0, "<S>A<E>", "<PS>a<PE>=1|<PS>b<PE>=2", ""},
      {"<S>A<PS>a:1<PE><PS>b:2<PE><PS>c:3<PE><E>", 2, 0, "<S>A<E>", "<PS>a<PE>=1|<PS>b<PE>=2",
       "WARNING: The maximum number of parameters have been exceeded in the Macro "
       "<S>A<PS>a:1<PE><PS>b:2<PE><PS>c:3<PE><E>."},
  };
  for (const Case& c : cases) {
    project.max_parameters = c.max_parameters;
    project.trim_parameter_values = c.trim;
    SizeMacroTables(macros);
    std::string tag = T(c.tag);
    std::string warning = "left over";
    ParseMacroParameters(project, macros, tag, warning);
    EXPECT_EQ(tag, T(c.name)) << c.tag;
    EXPECT_EQ(warning, T(c.warning)) << c.tag;
    std::string pairs;
    for (const CallParameter& pair : macros.call_parameters) {
      if (!pair.reference.empty()) pairs += (pairs.empty() ? "" : "|") + pair.reference + "=";
      pairs += pair.value;
    }
    EXPECT_EQ(pairs, T(c.pairs)) << c.tag;
  }
}

TEST_P(TagParserTest, ReportsInvalidTagsInTheirOwnWords) {
  struct Case {
    bool whole_line;  // located in a line, or parsed as a parameter list
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {true, "text <S>A more", "Invalid tag in string: text <S>A more"},
      {true, "<S>A<PS>x:1<E> tail", "Invalid tag in string: <S>A<PS>x:1<E> tail"},
      {false, " <S>A<PS>x:1<E>", "Error processing macro tag and parameters: <S>A<PS>x:1<E>"},
      {false, "<S>A<PE><E><PS>x", "Error processing macro tag and parameters: <S>A<PE><E><PS>x"},
  };
  for (const Case& c : cases) {
    std::string text = T(c.text);
    std::string warning;
    try {
      if (c.whole_line) {
        LocateFirstTag(project.tags, text);
      } else {
        ParseMacroParameters(project, macros, text, warning);
      }
      ADD_FAILURE() << "no error for " << text;
    } catch (const Error& e) {
      EXPECT_EQ(e.number(), 10001);
      EXPECT_EQ(e.description(), T(c.message));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(TagSets, TagParserTest,
                         ::testing::Values(testing::DefaultTags(), testing::OtherTags()),
                         testing::TagSetName);

}  // namespace
}  // namespace pentrak
