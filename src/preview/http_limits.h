#pragma once

#include <chrono>
#include <cstddef>

namespace pentrak {

// How long and how much a client of the preview may take.
struct HttpLimits {
  // For a request's line and headers to arrive once its first byte has.
  std::chrono::milliseconds request_time{10000};
  // For a request to begin on an open connection, the first one included.
  std::chrono::milliseconds idle_time{1000};
  // For the client to take each part of an answer.
  std::chrono::milliseconds write_time{10000};
  // Connections served at once, each on a thread of its own; more wait for one to come free.
  std::size_t most_connections = 192;
};

}  // namespace pentrak
