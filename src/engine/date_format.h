#pragma once

#include <ctime>
#include <locale>
#include <string>
#include <string_view>

namespace pentrak {

// Formats a local date and time with a strftime-style pattern. Conversions follow C's strftime
// in the given locale, except that weeks start on Sunday and week 1 holds 1 January: %w is the
// weekday number 1 (Sunday) to 7 (Saturday) and %U the week number 01 to 54. "%%" is a percent
// sign; an unknown conversion, or a "%" at the end, is kept as written.
std::string FormatDate(std::string_view pattern, const std::tm& time, const std::locale& locale);

// The default date text: the locale's short date and time ("%x %X").
std::string DefaultDateText(const std::tm& time, const std::locale& locale);

// The user's locale from the environment, or the classic one when the environment names a
// locale the system does not have.
std::locale UserLocale();

}  // namespace pentrak
