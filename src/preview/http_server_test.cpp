#include "preview/http_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "testing/raw_client.h"

namespace pentrak {
namespace {

using std::chrono::milliseconds;

TEST(HttpServerTest, TakesOnlyTheNamesOfTheAddressServed) {
  const struct {
    std::string bind;
    std::string host;
    bool served;
  } kCases[] = {
      {"127.0.0.1", "127.0.0.1", true},
      {"127.0.0.1", "localhost:8080", true},  // a forwarded port
      {"127.0.0.1", "LocalHost", true},
      {"127.0.0.1", "[::1]:1313", true},
      {"127.0.0.1", "evil.example:1313", false},
      {"127.0.0.1", "localhost.evil.example", false},
      {"127.0.0.1", "127.0.0.1.evil.example", false},
      {"127.0.0.1", "::1", false},
      {"127.0.0.1", "", false},
      {"127.0.0.1", ":1313", false},
      {"127.0.0.1", "127.0.0.1:80x", false},
      {"127.0.0.1", "127.0.0.1:1:2", false},
      {"192.168.1.5", "192.168.1.5:1313", true},
      {"192.168.1.5", "192.168.1.6", false},
      {"myhost.lan", "MyHost.lan:1313", true},
      {"::1", "[::1]:1313", true},
      {"fe80::1", "[FE80::1]", true},
      {"0.0.0.0", "10.0.0.7:1313", true},  // bound to every address: reached by any
      {"0.0.0.0", "localhost", true},
      {"0.0.0.0", "box.example", false},
      {"::", "10.0.0.7", true},
  };
  for (const auto& c : kCases) {
    EXPECT_EQ(IsServedHost(c.host, c.bind), c.served) << c.bind << " " << c.host;
  }
}

// A server answering "/" with "ok" on a port of the system's choosing, with short limits.
class ServingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HttpLimits limits;
    limits.request_time = milliseconds(300);
    limits.idle_time = milliseconds(300);
    limits.write_time = milliseconds(300);
    server = std::make_unique<HttpServer>(limits, "127.0.0.1");
    server->Get("/", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("ok", "text/plain");
    });
    port = server->bind_to_any_port("127.0.0.1");
    ASSERT_GT(port, 0);
    server->WidenBacklog();
    serving = std::thread([this] { server->listen_after_bind(); });
  }

  void TearDown() override {
    server->stop();
    serving.join();
  }

  int StatusOfGet() {
    httplib::Client client("127.0.0.1", port);
    httplib::Result result = client.Get("/");
    return result ? result->status : 0;
  }

  std::unique_ptr<HttpServer> server;
  std::thread serving;
  int port = 0;
};

// Requests sent raw, each head followed by the first bytes of its body (when it declares one):
// the answer must come before the rest, which never does.
TEST_F(ServingTest, RefusesBeforeReadingAnyBody) {
  const std::string host = "Host: 127.0.0.1:" + std::to_string(port) + "\r\n";
  const std::string gib = "Content-Length: 1073741824\r\n";
  const struct {
    std::string head;
    std::string status_line;
    bool body;  // declared, so never read: the connection ends after the answer
  } kCases[] = {
      {"POST /index.html HTTP/1.1\r\n" + host + gib + "\r\n", "HTTP/1.1 405 Method Not Allowed",
       true},
      {"POST / HTTP/1.1\r\n" + host + gib + "Expect: 100-continue\r\n\r\n",
       "HTTP/1.1 405 Method Not Allowed", true},
      {"PUT / HTTP/1.1\r\n" + host + "Transfer-Encoding: chunked\r\n\r\n",
       "HTTP/1.1 405 Method Not Allowed", true},
      {"GET / HTTP/1.1\r\n" + host + gib + "\r\n", "HTTP/1.1 413 Payload Too Large", true},
      {"DELETE / HTTP/1.1\r\n" + host + "\r\n", "HTTP/1.1 405 Method Not Allowed", false},
      {"GET / HTTP/1.1\r\nHost: evil.example:" + std::to_string(port) + "\r\n\r\n",
       "HTTP/1.1 403 Forbidden", false},
      {"GET / HTTP/1.1\r\n" + host + "Host: evil.example\r\n\r\n", "HTTP/1.1 403 Forbidden", false},
      {"GET / HTTP/1.0\r\n\r\n", "HTTP/1.1 403 Forbidden", false},
      {"GET / HTTP/1.1\r\n" + host + "\r\n", "HTTP/1.1 200 OK", false},
  };
  for (const auto& c : kCases) {
    RawClient client(port);
    ASSERT_TRUE(client.connected());
    ASSERT_TRUE(client.Send(c.head));
    if (c.body) client.Send("first bytes of the body");
    std::string answer = client.Receive(milliseconds(5000), "\r\n\r\n");
    EXPECT_EQ(answer.substr(0, answer.find("\r\n")), c.status_line) << c.head;
    if (c.status_line.find(" 405 ") != std::string::npos) {
      EXPECT_NE(answer.find("\r\nAllow: GET, HEAD\r\n"), std::string::npos) << answer;
    }
    if (!c.body) continue;
    EXPECT_NE(answer.find("\r\nConnection: close\r\n"), std::string::npos) << answer;
    client.Receive(milliseconds(5000));
    EXPECT_TRUE(client.closed()) << c.head;
  }
  EXPECT_EQ(StatusOfGet(), 200);
}

// Clients that send a byte now and then, more often than any single wait would end, never
// finishing a request: each is let go once the request time has passed, while they still
// trickle, and every other request is answered meanwhile.
TEST_F(ServingTest, DropsSlowClientsWhileAnsweringOthers) {
  std::vector<std::unique_ptr<RawClient>> slow;
  for (int i = 0; i < 40; ++i) {
    slow.push_back(std::make_unique<RawClient>(port));
    ASSERT_TRUE(slow.back()->connected());
    slow.back()->Send("GET / HTTP/1.1\r\n");
  }
  std::atomic<bool> trickling{true};
  std::thread trickle([&] {
    while (trickling) {
      for (auto& client : slow) client->Send("X");
      std::this_thread::sleep_for(milliseconds(50));
    }
  });
  for (int i = 0; i < 10; ++i) EXPECT_EQ(StatusOfGet(), 200);
  std::this_thread::sleep_for(milliseconds(1200));  // four request times
  // Closed already: a server that let them go only once they stopped sending fails here.
  for (auto& client : slow) {
    client->Receive(milliseconds(100));
    EXPECT_TRUE(client->closed());
  }
  trickling = false;
  trickle.join();
}

}  // namespace
}  // namespace pentrak
