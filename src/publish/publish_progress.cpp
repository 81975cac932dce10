#include "publish/publish_progress.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/text_lines.h"

namespace pentrak {

namespace {

// A rate taken over less time than this mostly measures the connection's start.
constexpr double kFirstRateSeconds = 0.5;

std::string OneDecimal(double value, const char* unit) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f %s", value, unit);
  return text;
}

std::string TimeLeft(double seconds) {
  const long long whole = static_cast<long long>(std::ceil(seconds));
  if (whole < 60) return std::to_string(whole) + " s left";
  if (whole < 3600) {
    return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s left";
  }
  return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min left";
}

}  // namespace

std::string ByteSize(std::uint64_t bytes) {
  constexpr double kKilo = 1024.0;
  if (bytes < 1024) return Plural(static_cast<long long>(bytes), "byte");
  const double value = static_cast<double>(bytes);
  if (value < kKilo * kKilo) return OneDecimal(value / kKilo, "KB");
  if (value < kKilo * kKilo * kKilo) return OneDecimal(value / (kKilo * kKilo), "MB");
  return OneDecimal(value / (kKilo * kKilo * kKilo), "GB");
}

std::string ProgressCounts(const PublishProgress& p) {
  return std::to_string(p.files_done) + " of " + Plural(p.files_total, "file") + ", " +
         ByteSize(p.bytes_done) + " of " + ByteSize(p.bytes_total);
}

std::string ProgressPace(const PublishProgress& p) {
  if (p.seconds < kFirstRateSeconds || p.bytes_done == 0) return "";
  const double rate = static_cast<double>(p.bytes_done) / p.seconds;
  const std::uint64_t left = p.bytes_total > p.bytes_done ? p.bytes_total - p.bytes_done : 0;
  return ByteSize(static_cast<std::uint64_t>(rate)) + "/s, " +
         TimeLeft(static_cast<double>(left) / rate);
}

std::string ProgressLine(const PublishProgress& p, std::size_t width) {
  std::string line = ProgressCounts(p);
  std::string pace = ProgressPace(p);
  if (!pace.empty()) line += ", " + pace;
  if (p.current.empty()) return line;
  line += ": ";
  std::string_view file = p.current;
  constexpr std::string_view kCut = "...";
  if (width > 0 && line.size() + file.size() > width) {
    const std::size_t room =
        width > line.size() + kCut.size() ? width - line.size() - kCut.size() : 0;
    line += kCut;
    file = file.substr(file.size() - std::min(room, file.size()));
  }
  return line + std::string(file);
}

}  // namespace pentrak
