#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace pentrak {

// All that the serving threads share with the thread that runs generation: the document root
// and what the last run means for open pages. Generation never runs on a serving thread and
// the serving threads never touch the project's records; this one mutex guards the rest.
class PageChannel {
 public:
  void SetRoot(std::string root);
  std::string Root() const;

  // A run ended with these problems (none: the overlay goes) and rewrote these pages (URL
  // paths, "*" for any page).
  void Publish(std::vector<std::string> problems, std::vector<std::string> rewritten);

  // For one event stream that has seen runs up to seen (0: none yet): waits up to timeout for
  // a newer run and returns the events to send, or "" when there is none or the channel closed.
  // A new stream gets the last run's problems at once but is never told to reload.
  std::string Next(std::uint64_t& seen, std::chrono::milliseconds timeout);

  // Ends every event stream; Next returns at once from now on.
  void Close();
  bool closed() const;

 private:
  std::string EventsSince(std::uint64_t seen) const;

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::string root_;
  std::uint64_t runs_ = 0;
  std::uint64_t last_rewrite_ = 0;     // the run that last rewrote pages
  std::uint64_t rewrites_before_ = 0;  // the one before it, to tell a stream that missed both
  std::vector<std::string> problems_;
  std::vector<std::string> rewritten_;
  bool closed_ = false;
};

}  // namespace pentrak
