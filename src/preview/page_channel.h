#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace pentrak {

// One open page's event stream: the build its events have brought it to, and the page.
struct EventStream {
  std::uint64_t seen = 0;  // the build number of the last run it was told of
  std::string page;        // its page's URL path (encoded), "" when not known
  bool started = false;    // its first events were sent
  bool stale = false;      // its page came from another start of the preview
};

// All that the serving threads share with the thread that runs generation: the document root
// and what the runs meant for open pages. Every run that ends makes a new build, numbered from
// 1; a page is served with the build number of the moment and opens its event stream with it,
// so a run it missed while it loaded, or while its stream was down, still reloads it. Generation
// never runs on a serving thread and the serving threads never touch the project's records;
// this one mutex guards the rest.
class PageChannel {
 public:
  PageChannel();

  void SetRoot(std::string root);
  std::string Root() const;

  // Tells this start of the preview from any other, so that a page served by another one is
  // known to be behind; letters and digits only.
  const std::string& instance() const { return instance_; }
  // The number of the last build (0 before the first run ends).
  std::uint64_t Build() const;

  // A run ended with these problems (none: the overlay goes) and rewrote these pages (encoded
  // URL paths, "*" for any page).
  void Publish(std::vector<std::string> problems, std::vector<std::string> rewritten);

  // The stream of a page served with the given instance and build (nothing known when instance
  // is empty: the stream starts at the current build).
  EventStream Open(const std::string& instance, std::optional<std::uint64_t> build,
                   std::string page) const;

  // The events to send next on a stream: at once for a new stream (the last run's problems, a
  // reload when its page was rewritten after its build, and the build number), else after up to
  // timeout for a newer run; "" when there is none or the channel closed.
  std::string Next(EventStream& stream, std::chrono::milliseconds timeout);

  // Ends every event stream; Next returns at once from now on.
  void Close();
  bool closed() const;

 private:
  std::string EventsFor(const EventStream& stream) const;
  // The reload event's lines for a stream that has seen builds up to seen; none when it need not.
  std::vector<std::string> ReloadFor(const EventStream& stream) const;

  const std::string instance_;
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::string root_;
  std::uint64_t runs_ = 0;
  std::uint64_t last_rewrite_ = 0;     // the run that last rewrote pages
  std::uint64_t rewrites_before_ = 0;  // the one before it, to tell a stream that missed both
  std::uint64_t all_rewritten_ = 0;    // the last run that rewrote any page ("*")
  std::unordered_map<std::string, std::uint64_t> rewritten_at_;  // page -> last run that did
  std::vector<std::string> problems_;
  std::vector<std::string> rewritten_;
  bool closed_ = false;
};

}  // namespace pentrak
