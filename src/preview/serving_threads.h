#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <list>
#include <mutex>
#include <thread>
#include <vector>

#include <httplib.h>

namespace pentrak {

// Runs each connection the HTTP library accepts on a thread of its own, so that an open event
// stream or a slow client never holds up another connection. Threads are started as
// connections come, up to a bound past which connections wait for one to come free, and end
// after a while without work.
class ServingThreads : public httplib::TaskQueue {
 public:
  ServingThreads(std::size_t most_threads, std::chrono::milliseconds linger);
  ~ServingThreads() override;
  ServingThreads(const ServingThreads&) = delete;
  ServingThreads& operator=(const ServingThreads&) = delete;

  void enqueue(std::function<void()> task) override;
  // Runs what is waiting, then waits for every thread to end.
  void shutdown() override;

 private:
  void Work();
  void Retire();
  void JoinFinished();

  const std::size_t most_threads_;
  const std::chrono::milliseconds linger_;
  std::mutex mutex_;
  std::condition_variable work_;
  std::deque<std::function<void()>> waiting_;
  std::list<std::thread> threads_;
  std::vector<std::thread> finished_;  // ended for want of work, not yet joined
  std::size_t idle_ = 0;
  bool stopping_ = false;
};

}  // namespace pentrak
