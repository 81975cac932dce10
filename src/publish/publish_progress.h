#pragma once

#include <cstdint>
#include <string>

namespace pentrak {

// Where a transfer stands, as a progress line or a progress window shows it.
struct PublishProgress {
  int files_done = 0;
  int files_total = 0;
  std::uint64_t bytes_done = 0;
  std::uint64_t bytes_total = 0;
  std::string current;  // the file last begun
  double seconds = 0;   // since the transfer began
};

// A size as people read it: "512 bytes", "7.0 KB", "8.7 MB", "1.2 GB" (1 KB is 1024 bytes).
std::string ByteSize(std::uint64_t bytes);

// "12 of 1250 files, 84.0 KB of 8.7 MB".
std::string ProgressCounts(const PublishProgress& progress);

// "2.1 MB/s, 4 s left"; "" until there is a rate worth showing.
std::string ProgressPace(const PublishProgress& progress);

// The terminal's progress line: counts, pace and the file in hand, whose name is shortened from
// its start ("...") when the line would be wider than width (0: any width).
std::string ProgressLine(const PublishProgress& progress, std::size_t width = 0);

}  // namespace pentrak
