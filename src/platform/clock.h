#pragma once

#include <ctime>
#include <optional>
#include <string>

namespace pentrak {

// The clock of the system. Tests set "now" so that dated texts and times are repeatable.
class Clock {
 public:
  // Seconds since the epoch: the set time, or the real one.
  std::time_t Now() const;
  void SetNow(std::optional<std::time_t> now) { fixed_now_ = now; }

  // Seconds since midnight with fractions, for short waits.
  double Timer() const;

  // The general text form of a date and time in local time: "2026-12-05 16:53:10".
  static std::string GeneralText(std::time_t time);

  // Local calendar fields of a time.
  static std::tm LocalTime(std::time_t time);

 private:
  std::optional<std::time_t> fixed_now_;
};

}  // namespace pentrak
