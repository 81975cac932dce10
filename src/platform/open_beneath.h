#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/descriptor.h"

namespace pentrak {

// What FindBeneath reached.
struct FoundBeneath {
  enum class Kind { kFile, kFolder, kOther };
  int error = 0;             // 0, or the errno that stopped the search (EXDEV: a way out)
  Kind kind = Kind::kOther;  // when error is 0
  Descriptor file;           // open for reading, for a regular file
  std::uint64_t size = 0;    // of that file, when it was opened
};

// Looks up relative ("/"-separated) below folder without ever leaving it, and opens it when it
// is a regular file, so that what is read is what was looked up, whatever is renamed meanwhile.
// Each part is opened from the descriptor of the folder before it without following links;
// symbolic links and ".." are followed by hand, so that a link that leads above the folder (or
// an absolute one that leads outside it) fails with EXDEV instead. A FIFO or device is never
// opened.
FoundBeneath FindBeneath(const std::string& folder, std::string_view relative);

// Reads up to size bytes of an open file from offset on: how many, 0 at its end. Throws Error
// when it cannot be read.
std::size_t ReadAt(const Descriptor& file, std::uint64_t offset, char* data, std::size_t size);

}  // namespace pentrak
