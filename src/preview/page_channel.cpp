#include "preview/page_channel.h"

#include "preview/live_reload.h"

namespace pentrak {

void PageChannel::SetRoot(std::string root) {
  std::lock_guard lock(mutex_);
  root_ = std::move(root);
}

std::string PageChannel::Root() const {
  std::lock_guard lock(mutex_);
  return root_;
}

void PageChannel::Publish(std::vector<std::string> problems, std::vector<std::string> rewritten) {
  {
    std::lock_guard lock(mutex_);
    ++runs_;
    problems_ = std::move(problems);
    if (!rewritten.empty()) {
      rewrites_before_ = last_rewrite_;
      last_rewrite_ = runs_;
      rewritten_ = std::move(rewritten);
    }
  }
  changed_.notify_all();
}

std::string PageChannel::Next(std::uint64_t& seen, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] { return closed_ || runs_ != seen; });
  if (closed_ || runs_ == seen) return "";
  std::string events = EventsSince(seen);
  seen = runs_;
  return events;
}

std::string PageChannel::EventsSince(std::uint64_t seen) const {
  std::string events =
      problems_.empty() ? EventText("clear", {"-"}) : EventText("problems", problems_);
  if (seen == 0 || last_rewrite_ <= seen) return events;
  // A stream that missed more than one rewriting run reloads whatever it shows.
  const std::vector<std::string> any = {"*"};
  return events + EventText("reload", rewrites_before_ > seen ? any : rewritten_);
}

void PageChannel::Close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

bool PageChannel::closed() const {
  std::lock_guard lock(mutex_);
  return closed_;
}

}  // namespace pentrak
