#include "engine/date_format.h"

#include <gtest/gtest.h>

namespace pentrak {
namespace {

std::tm Time(int year, int month, int day, int hour, int minute, int second, int weekday,
             int day_of_year) {
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  t.tm_min = minute;
  t.tm_sec = second;
  t.tm_wday = weekday;
  t.tm_yday = day_of_year;
  return t;
}

TEST(DateFormatTest, ConvertsPatternsAndGivesADefaultText) {
  const std::tm saturday = Time(2026, 1, 3, 15, 4, 7, 6, 2);
  struct Case {
    std::tm time;
    const char* pattern;
    const char* text;
  };
  const Case cases[] = {
      {saturday, "%Y-%m-%d %H:%M:%S", "2026-01-03 15:04:07"},
      {saturday, "%A %d %B %Y, %a %b %y", "Saturday 03 January 2026, Sat Jan 26"},
      {saturday, "%I:%M %p, day %j", "03:04 PM, day 003"},
      {saturday, "100%% %Q and %", "100% %Q and %"},
      // Weeks start on Sunday and week 1 holds 1 January.
      {saturday, "%w %U", "7 01"},
      {Time(2026, 1, 4, 0, 0, 0, 0, 3), "%w %U", "1 02"},
      {Time(2026, 12, 31, 0, 0, 0, 4, 364), "%w %U", "5 53"},
      {Time(2000, 12, 31, 0, 0, 0, 0, 365), "%w %U", "1 54"},
      {Time(2023, 1, 1, 0, 0, 0, 0, 0), "%w %U", "1 01"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatDate(c.pattern, c.time, std::locale::classic()), c.text) << c.pattern;
  }
  // Without a pattern: the short date and the time.
  EXPECT_EQ(DefaultDateText(saturday, std::locale::classic()), "01/03/26 15:04:07");
}

}  // namespace
}  // namespace pentrak
