#include "preview/page_channel.h"

#include <cstdio>
#include <random>

#include "preview/live_reload.h"

namespace pentrak {

namespace {

std::string NewInstance() {
  std::random_device random;
  std::uniform_int_distribution<unsigned long long> any;
  char text[17];
  std::snprintf(text, sizeof text, "%016llx", any(random));
  return text;
}

}  // namespace

PageChannel::PageChannel() : instance_(NewInstance()) {}

void PageChannel::SetRoot(std::string root) {
  std::lock_guard lock(mutex_);
  root_ = std::move(root);
}

std::string PageChannel::Root() const {
  std::lock_guard lock(mutex_);
  return root_;
}

std::uint64_t PageChannel::Build() const {
  std::lock_guard lock(mutex_);
  return runs_;
}

void PageChannel::Publish(std::vector<std::string> problems, std::vector<std::string> rewritten) {
  {
    std::lock_guard lock(mutex_);
    ++runs_;
    problems_ = std::move(problems);
    if (!rewritten.empty()) {
      rewrites_before_ = last_rewrite_;
      last_rewrite_ = runs_;
      for (const std::string& page : rewritten) {
        if (page == "*") all_rewritten_ = runs_;
        rewritten_at_[page] = runs_;
      }
      rewritten_ = std::move(rewritten);
    }
  }
  changed_.notify_all();
}

EventStream PageChannel::Open(const std::string& instance, std::optional<std::uint64_t> build,
                              std::string page) const {
  std::lock_guard lock(mutex_);
  EventStream stream;
  stream.page = std::move(page);
  if (instance.empty()) {
    stream.seen = runs_;
  } else if (instance != instance_ || !build || *build > runs_) {
    stream.stale = true;
  } else {
    stream.seen = *build;
  }
  return stream;
}

std::string PageChannel::Next(EventStream& stream, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  if (stream.started) {
    changed_.wait_for(lock, timeout, [&] { return closed_ || runs_ != stream.seen; });
    if (runs_ == stream.seen) return "";
  }
  if (closed_) return "";
  std::string events = EventsFor(stream);
  stream.started = true;
  stream.stale = false;
  stream.seen = runs_;
  return events;
}

std::string PageChannel::EventsFor(const EventStream& stream) const {
  std::string events =
      problems_.empty() ? EventText("clear", {"-"}) : EventText("problems", problems_);
  std::vector<std::string> reload = ReloadFor(stream);
  if (!reload.empty()) events += EventText("reload", reload);
  // Last, so that a page that takes the number has taken the reload before it.
  return events + EventText("build", {std::to_string(runs_)});
}

std::vector<std::string> PageChannel::ReloadFor(const EventStream& stream) const {
  if (stream.stale) return {"*"};
  if (!stream.page.empty()) {
    auto page = rewritten_at_.find(stream.page);
    bool behind =
        all_rewritten_ > stream.seen || (page != rewritten_at_.end() && page->second > stream.seen);
    if (behind) return {stream.page};
    return {};
  }
  if (last_rewrite_ <= stream.seen) return {};
  // A stream that missed more than one rewriting run reloads whatever it shows.
  if (rewrites_before_ > stream.seen) return {"*"};
  return rewritten_;
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
