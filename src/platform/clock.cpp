#include "platform/clock.h"

#include <chrono>

namespace pentrak {

std::time_t Clock::Now() const {
  if (fixed_now_) return *fixed_now_;
  return std::time(nullptr);
}

double Clock::Timer() const {
  using namespace std::chrono;
  auto now = system_clock::now();
  std::time_t seconds = system_clock::to_time_t(now);
  std::tm local = LocalTime(seconds);
  double fraction =
      static_cast<double>(duration_cast<microseconds>(now.time_since_epoch()).count() % 1000000) /
      1e6;
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + fraction;
}

std::tm Clock::LocalTime(std::time_t time) {
  std::tm result{};
  localtime_r(&time, &result);
  return result;
}

std::string Clock::GeneralText(std::time_t time) {
  std::tm local = LocalTime(time);
  char buffer[32];
  std::size_t n = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
  return std::string(buffer, n);
}

}  // namespace pentrak
