#include "check/external_links.h"

#include <gtest/gtest.h>
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "testing/test_folder.h"

namespace pentrak {
namespace {

// A web server on a free loopback port that answers as servers out there do.
class TestServer {
 public:
  TestServer() {
    server_.Get("/ok", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("fine", "text/plain");
    });
    server_.Get("/gone", [](const httplib::Request&, httplib::Response& response) {
      response.status = 404;
    });
    server_.Get("/moved", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/ok", 301);
    });
    server_.Get("/moved-away", [](const httplib::Request&, httplib::Response& response) {
      response.set_redirect("/gone", 302);
    });
    server_.Get("/busy", [this](const httplib::Request&, httplib::Response& response) {
      std::lock_guard lock(mutex_);
      busy_times_.push_back(std::chrono::steady_clock::now());
      if (busy_times_.size() == 1) {
        response.status = 429;
        response.set_header("Retry-After", "1");
      }
    });
    server_.Get("/too-busy", [](const httplib::Request&, httplib::Response& response) {
      response.status = 503;
      response.set_header("Retry-After", "86400");
    });
    server_.Get("/slow", [](const httplib::Request&, httplib::Response& response) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      response.set_content("late", "text/plain");
    });
    server_.Get(R"(/same-host/\d+)", [this](const httplib::Request&, httplib::Response&) {
      int now = ++in_flight_;
      int seen = most_in_flight_.load();
      while (now > seen && !most_in_flight_.compare_exchange_weak(seen, now)) {
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      --in_flight_;
    });
    // HEAD is answered like GET, except where a server refuses it.
    server_.set_pre_routing_handler(
        [](const httplib::Request& request, httplib::Response& response) {
          if (request.method == "HEAD" && request.path == "/no-head") {
            response.status = 405;
            return httplib::Server::HandlerResponse::Handled;
          }
          return httplib::Server::HandlerResponse::Unhandled;
        });
    server_.Get("/no-head", [](const httplib::Request&, httplib::Response&) {});
    // Bound and listening: requests wait in the queue until the loop takes them.
    port_ = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~TestServer() { Stop(); }

  void Stop() {
    server_.stop();
    if (thread_.joinable()) thread_.join();
  }

  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
  }

  std::vector<std::chrono::steady_clock::time_point> busy_times() {
    std::lock_guard lock(mutex_);
    return busy_times_;
  }
  int most_in_flight() const { return most_in_flight_; }

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<std::chrono::steady_clock::time_point> busy_times_;
  std::atomic<int> in_flight_{0};
  std::atomic<int> most_in_flight_{0};
};

ExternalCheckOptions QuickOptions() {
  ExternalCheckOptions options;
  options.timeout = std::chrono::milliseconds(400);
  options.longest_wait = std::chrono::seconds(5);
  options.now = 1700000000;
  return options;
}

TEST(ExternalLinksTest, FollowsRedirectsWaitsWhenAskedAndTellsBrokenFromUnanswered) {
  TestServer server;
  struct Case {
    const char* path;
    bool checked;
    bool broken;
    const char* problem;
  };
  const Case cases[] = {
      {"/ok", true, false, ""},
      {"/gone", true, true, "404 Not Found"},
      {"/moved", true, false, ""},
      {"/moved-away", true, true, "404 Not Found"},
      {"/busy", true, false, ""},
      {"/no-head", true, false, ""},
      {"/too-busy", false, false,
       "503 Service Unavailable, and the server asks to wait 86400 seconds"},
      {"/slow", false, false, "no answer in time"},
  };
  std::vector<std::string> urls;
  for (const Case& c : cases) urls.push_back(server.Url(c.path));
  FileSystem fs;
  const std::map<std::string, ExternalAnswer> answers = CheckExternalUrls(fs, urls, QuickOptions());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    const ExternalAnswer& answer = answers.at(server.Url(c.path));
    EXPECT_EQ(answer.checked, c.checked);
    EXPECT_EQ(answer.broken, c.broken);
    EXPECT_EQ(answer.problem, c.problem);
  }
  // The server asked for a second's rest before the second request.
  const auto times = server.busy_times();
  ASSERT_EQ(times.size(), 2u);
  EXPECT_GE(times[1] - times[0], std::chrono::milliseconds(950));
}

TEST(ExternalLinksTest, AsksOneHostAtMostTwiceAtATime) {
  TestServer server;
  std::vector<std::string> urls;
  for (int i = 0; i < 8; ++i) urls.push_back(server.Url("/same-host/" + std::to_string(i)));
  FileSystem fs;
  const auto answers = CheckExternalUrls(fs, urls, QuickOptions());
  EXPECT_EQ(answers.size(), 8u);
  for (const auto& [url, answer] : answers) EXPECT_FALSE(answer.broken) << url;
  EXPECT_LE(server.most_in_flight(), 2);
  EXPECT_GE(server.most_in_flight(), 1);
}

TEST(ExternalLinksTest, KeepsDefiniteAnswersForADay) {
  TestFolder folder;
  FileSystem fs;
  ExternalCheckOptions options = QuickOptions();
  options.cache_file = folder / "links.txt";
  std::vector<std::string> urls;
  {
    TestServer server;
    urls = {server.Url("/ok"), server.Url("/gone"), server.Url("/slow")};
    CheckExternalUrls(fs, urls, options);
  }
  // The server is gone: what was known comes from the cache, what was not is asked again.
  options.now += 23 * 3600;
  auto answers = CheckExternalUrls(fs, urls, options);
  EXPECT_TRUE(answers.at(urls[0]).checked && !answers.at(urls[0]).broken);
  EXPECT_EQ(answers.at(urls[1]).problem, "404 Not Found");
  EXPECT_FALSE(answers.at(urls[2]).checked);
  EXPECT_EQ(answers.at(urls[2]).problem, "could not connect");
  options.now += 2 * 3600;
  answers = CheckExternalUrls(fs, urls, options);
  EXPECT_FALSE(answers.at(urls[0]).checked);
  EXPECT_FALSE(answers.at(urls[1]).checked);
}

TEST(ExternalLinksTest, ReadsOnlyWellFormedFreshCacheLines) {
  const std::string text =
      "1000\tok\t\thttps://a.example/\r\n"
      "1000\tbroken\t404 Not Found\thttps://b.example/x\r\n"
      "900\tok\t\thttps://old.example/\r\n"
      "2000\tok\t\thttps://future.example/\r\n"
      "1000\tmaybe\t\thttps://c.example/\r\n"
      "x\tok\t\thttps://d.example/\r\n"
      "1000\tok\t\t\r\n"
      "garbage\r\n";
  const auto answers = ReadCacheText(text, 1050, std::chrono::seconds(100));
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_FALSE(answers.at("https://a.example/").broken);
  EXPECT_EQ(answers.at("https://b.example/x").problem, "404 Not Found");
  EXPECT_EQ(
      CacheText(answers),
      "1000\tok\t\thttps://a.example/\r\n1000\tbroken\t404 Not Found\thttps://b.example/x\r\n");
}

TEST(ExternalLinksTest, ReadsRetryAfterAsSecondsOrDate) {
  const std::int64_t now = 1445412470;  // 07:27:50 GMT on 21 October 2015
  EXPECT_EQ(RetryAfter("5", now), std::chrono::seconds(5));
  EXPECT_EQ(RetryAfter(" 120 ", now), std::chrono::seconds(120));
  EXPECT_EQ(RetryAfter("Wed, 21 Oct 2015 07:28:00 GMT", now), std::chrono::seconds(10));
  EXPECT_EQ(RetryAfter("Wed, 21 Oct 2015 07:00:00 GMT", now), std::chrono::seconds(0));
  EXPECT_EQ(RetryAfter("", now), std::nullopt);
  EXPECT_EQ(RetryAfter("soon", now), std::nullopt);
}

}  // namespace
}  // namespace pentrak
