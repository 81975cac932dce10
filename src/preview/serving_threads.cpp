#include "preview/serving_threads.h"

#include <algorithm>
#include <utility>

namespace pentrak {

ServingThreads::ServingThreads(std::size_t most_threads, std::chrono::milliseconds linger)
    : most_threads_(std::max<std::size_t>(most_threads, 1)), linger_(linger) {}

ServingThreads::~ServingThreads() { shutdown(); }

void ServingThreads::enqueue(std::function<void()> task) {
  JoinFinished();
  std::lock_guard lock(mutex_);
  waiting_.push_back(std::move(task));
  if (idle_ < waiting_.size() && threads_.size() < most_threads_) {
    threads_.emplace_back([this] { Work(); });
  }
  work_.notify_one();
}

void ServingThreads::shutdown() {
  std::list<std::thread> threads;
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    threads.swap(threads_);
  }
  work_.notify_all();
  for (std::thread& thread : threads) thread.join();
  JoinFinished();
}

void ServingThreads::Work() {
  std::unique_lock lock(mutex_);
  while (true) {
    ++idle_;
    bool woken = work_.wait_for(lock, linger_, [&] { return stopping_ || !waiting_.empty(); });
    --idle_;
    if (waiting_.empty()) {
      if (woken && !stopping_) continue;
      lock.unlock();
      Retire();
      return;
    }
    std::function<void()> task = std::move(waiting_.front());
    waiting_.pop_front();
    lock.unlock();
    task();
    lock.lock();
  }
}

// A thread without work leaves its place to be joined by the next caller; when shutdown has
// already taken it, shutdown joins it.
void ServingThreads::Retire() {
  std::lock_guard lock(mutex_);
  auto self = std::find_if(threads_.begin(), threads_.end(), [](const std::thread& thread) {
    return thread.get_id() == std::this_thread::get_id();
  });
  if (self == threads_.end()) return;
  finished_.push_back(std::move(*self));
  threads_.erase(self);
}

void ServingThreads::JoinFinished() {
  std::vector<std::thread> finished;
  {
    std::lock_guard lock(mutex_);
    finished.swap(finished_);
  }
  for (std::thread& thread : finished) thread.join();
}

}  // namespace pentrak
