#include "platform/text_lines.h"

#include <gtest/gtest.h>

#include <vector>

namespace pentrak {
namespace {

std::vector<std::string> Split(std::string_view text) {
  std::vector<std::string> lines;
  LineCursor cursor(text);
  std::string_view line;
  while (cursor.Next(line)) lines.emplace_back(line);
  return lines;
}

TEST(LineCursorTest, SplitsAtLfAndCrLfAndKeepsLoneCr) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\rb\r\nc", {"a\rb", "c"}},
      {"\r\n\r\n", {"", ""}},
      {"x\r", {"x\r"}},
      {std::string("n\0ul\xff", 5), {std::string("n\0ul\xff", 5)}},
  };
  for (const Case& c : cases) EXPECT_EQ(Split(c.text), c.lines) << c.text;
}

TEST(TextHelpersTest, PadLeftPluralAndInt16) {
  EXPECT_EQ(PadLeft("12", "0", 4), "0012");
  EXPECT_EQ(PadLeft("12345", "0", 4), "12345");
  EXPECT_EQ(PadLeft("", " ", 10), "          ");
  EXPECT_EQ(Plural(1, "Document"), "1 Document");
  EXPECT_EQ(Plural(0, "Document"), "0 Documents");
  EXPECT_EQ(Plural(2, "Error"), "2 Errors");

  struct IntCase {
    const char* text;
    bool ok;
    short value;
  };
  const IntCase cases[] = {{"0", true, 0},         {"25", true, 25},         {"-1", true, -1},
                           {"32767", true, 32767}, {"-32768", true, -32768}, {"32768", false, 0},
                           {"", false, 0},         {"abc", false, 0},        {"5.0", false, 0},
                           {"1,000", false, 0},    {" 50 ", true, 50},       {"-", false, 0}};
  for (const IntCase& c : cases) {
    short value = 0;
    EXPECT_EQ(ParseInt16(c.text, value), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(value, c.value) << c.text;
    }
  }
}

}  // namespace
}  // namespace pentrak
