// Formats a date with the input as the pattern. The first eight bytes give the time, so that
// every day of the year and every weekday is met.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <locale>
#include <string>

#include "engine/date_format.h"
#include "fuzz/fuzz_engine.h"

using namespace pentrak;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  constexpr std::size_t kTimeBytes = 8;
  if (size < kTimeBytes) return 0;
  std::uint64_t bits = 0;
  for (std::size_t i = 0; i < kTimeBytes; ++i) bits = (bits << 8) | data[i];
  // Years 1970 to about 2400: what a clock can give.
  const std::time_t seconds = static_cast<std::time_t>(bits % (std::uint64_t{430} * 366 * 86400));
  std::tm time{};
  if (gmtime_r(&seconds, &time) == nullptr) return 0;
  static const std::locale locale = std::locale::classic();
  FormatDate(fuzzing::TextFrom(data, size, kTimeBytes), time, locale);
  DefaultDateText(time, locale);
  return 0;
}
