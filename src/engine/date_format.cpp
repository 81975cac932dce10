#include "engine/date_format.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>

namespace pentrak {

namespace {

// The conversions handed to the locale as they are; everything else is ours or literal.
constexpr std::string_view kLocaleConversions = "aAbBcCdDeFhHIjmMnpRStTxXyYzZ";

// Week of the year counted from the week that holds 1 January, weeks starting on Sunday.
int WeekOfYear(const std::tm& time) {
  const int first_weekday = ((time.tm_wday - time.tm_yday % 7) % 7 + 7) % 7;
  return (time.tm_yday + first_weekday) / 7 + 1;
}

void AppendTwoDigits(std::string& out, int n) {
  out.push_back(static_cast<char>('0' + n / 10 % 10));
  out.push_back(static_cast<char>('0' + n % 10));
}

void AppendLocaleConversion(std::string& out, char conversion, const std::tm& time,
                            const std::locale& locale) {
  const char format[] = {'%', conversion, '\0'};
  std::ostringstream stream;
  stream.imbue(locale);
  stream << std::put_time(&time, format);
  out.append(stream.str());
}

}  // namespace

std::string FormatDate(std::string_view pattern, const std::tm& time, const std::locale& locale) {
  std::string out;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (c != '%' || i + 1 == pattern.size()) {
      out.push_back(c);
      continue;
    }
    const char conversion = pattern[++i];
    if (conversion == '%') {
      out.push_back('%');
    } else if (conversion == 'w') {
      out.push_back(static_cast<char>('1' + time.tm_wday % 7));
    } else if (conversion == 'U') {
      AppendTwoDigits(out, WeekOfYear(time));
    } else if (kLocaleConversions.find(conversion) != std::string_view::npos) {
      AppendLocaleConversion(out, conversion, time, locale);
    } else {
      out.push_back('%');
      out.push_back(conversion);
    }
  }
  return out;
}

std::string DefaultDateText(const std::tm& time, const std::locale& locale) {
  return FormatDate("%x %X", time, locale);
}

std::locale UserLocale() {
  try {
    return std::locale("");
  } catch (const std::runtime_error&) {
    return std::locale::classic();
  }
}

}  // namespace pentrak
