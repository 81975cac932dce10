#include "preview/http_server.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <functional>
#include <utility>

#include "platform/http_status.h"
#include "preview/serving_threads.h"

namespace pentrak {

namespace {

using Clock = std::chrono::steady_clock;

// A request's line and headers past this size are refused: a browser sends a few kilobytes.
constexpr std::size_t kMostHeadBytes = 64 * 1024;
// How often a wait for a client looks whether the server is stopping.
constexpr auto kStopCheckEvery = std::chrono::milliseconds(50);
// Requests served on one connection before it closes.
constexpr std::size_t kMostRequestsPerConnection = 100;
// How long a serving thread without work waits for the next connection before it ends.
constexpr auto kThreadLinger = std::chrono::seconds(10);
// Of a body that is never read, at most this much is taken in and dropped after the answer.
constexpr std::size_t kMostDrainedBytes = 64 * 1024;

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// ":" and one to five digits.
bool IsPortPart(std::string_view part) {
  return part.size() >= 2 && part.size() <= 6 && part[0] == ':' &&
         std::all_of(part.begin() + 1, part.end(),
                     [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; });
}

// An IPv4 address in dots, or an IPv6 one in brackets.
bool IsAddress(std::string_view name) {
  unsigned char address[16];
  if (name.size() > 2 && name.front() == '[' && name.back() == ']') {
    std::string inner(name.substr(1, name.size() - 2));
    return ::inet_pton(AF_INET6, inner.c_str(), address) == 1;
  }
  return ::inet_pton(AF_INET, std::string(name).c_str(), address) == 1;
}

bool IsEveryAddress(std::string_view bind) {
  return bind.empty() || bind == "0.0.0.0" || bind == "::";
}

// The phrase of a status this server sends; an unnamed one reads as a server error.
const char* StatusText(int status) {
  const char* phrase = HttpReasonPhrase(status);
  return *phrase == '\0' ? "Internal Server Error" : phrase;
}

bool DeclaresBody(const httplib::Request& request) {
  return request.has_header("Transfer-Encoding") ||
         (request.has_header("Content-Length") &&
          request.get_header_value("Content-Length") != "0");
}

void NumericAddress(const sockaddr_storage& address, socklen_t length, std::string& ip, int& port) {
  char host[NI_MAXHOST];
  char service[NI_MAXSERV];
  if (::getnameinfo(reinterpret_cast<const sockaddr*>(&address), length, host, sizeof host, service,
                    sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0) {
    return;
  }
  ip = host;
  port = std::atoi(service);
}

// One client's connection as the HTTP library reads and writes it. Every wait is bounded: for a
// request to begin (the idle time), for its line and headers to arrive in full (the request
// time, counted from its first byte), and for the client to take each part of the answer (the
// write time); the line and headers are bounded in size too. Waits end early when the server
// stops.
class Connection final : public httplib::Stream {
 public:
  Connection(socket_t sock, const HttpLimits& limits, std::function<bool()> stopping)
      : sock_(sock), limits_(limits), stopping_(std::move(stopping)) {}

  // Waits for the next request; false when none began in time.
  bool AwaitRequest() const {
    return start_ < end_ || WaitFor(POLLIN, Clock::now() + limits_.idle_time);
  }

  // A request's line and headers are read from now on, until EndHead.
  void StartHead() {
    head_deadline_ = Clock::now() + limits_.request_time;
    head_bytes_ = 0;
    in_head_ = true;
  }
  void EndHead() { in_head_ = false; }

  // Takes in, up to a bound and for the idle time at most, what the client still sends after
  // the answer to a request whose body was never read: closing a connection with unread bytes
  // resets it, and the client could lose the answer.
  void Drain() {
    ::shutdown(sock_, SHUT_WR);
    Clock::time_point deadline = Clock::now() + limits_.idle_time;
    std::size_t drained = 0;
    while (drained < kMostDrainedBytes && WaitFor(POLLIN, deadline)) {
      ssize_t n = ::recv(sock_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
      if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) return;
      if (n > 0) drained += static_cast<std::size_t>(n);
    }
  }

  bool broken() const { return broken_; }

  bool is_readable() const override { return start_ < end_ || WaitFor(POLLIN, ReadDeadline()); }
  bool is_writable() const override { return WaitFor(POLLOUT, Clock::now() + limits_.write_time); }

  ssize_t read(char* data, std::size_t size) override {
    if (start_ == end_) {
      ssize_t n = Fill();
      if (n <= 0) return n;
    }
    std::size_t n = std::min(size, end_ - start_);
    if (in_head_ && (head_bytes_ += n) > kMostHeadBytes) return Broken();
    std::copy_n(buffer_.data() + start_, n, data);
    start_ += n;
    return static_cast<ssize_t>(n);
  }

  ssize_t write(const char* data, std::size_t size) override {
    Clock::time_point deadline = Clock::now() + limits_.write_time;
    while (true) {
      ssize_t n = ::send(sock_, data, size, MSG_NOSIGNAL | MSG_DONTWAIT);
      if (n >= 0) return n;
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return -1;
      if (!WaitFor(POLLOUT, deadline)) return -1;
    }
  }

  void get_remote_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getpeername(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      NumericAddress(address, length, ip, port);
    }
  }

  void get_local_ip_and_port(std::string& ip, int& port) const override {
    sockaddr_storage address{};
    socklen_t length = sizeof address;
    if (::getsockname(sock_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
      NumericAddress(address, length, ip, port);
    }
  }

  socket_t socket() const override { return sock_; }

 private:
  Clock::time_point ReadDeadline() const {
    return in_head_ ? head_deadline_ : Clock::now() + limits_.request_time;
  }

  // Reads what has arrived into the buffer: how much, 0 when the client closed, -1 on a failure
  // or when nothing came in time.
  ssize_t Fill() {
    Clock::time_point deadline = ReadDeadline();
    while (WaitFor(POLLIN, deadline)) {
      ssize_t n = ::recv(sock_, buffer_.data(), buffer_.size(), MSG_DONTWAIT);
      if (n >= 0) {
        start_ = 0;
        end_ = static_cast<std::size_t>(n);
        return n;
      }
      if (errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) return Broken();
    }
    return Broken();
  }

  // A client that overran a limit or failed is served no further.
  ssize_t Broken() {
    broken_ = true;
    return -1;
  }

  // Waits until the socket is ready for events (or hung up); false when the deadline passed or
  // the server is stopping.
  bool WaitFor(short events, Clock::time_point deadline) const {
    while (!stopping_()) {
      auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) return false;
      pollfd wanted{sock_, events, 0};
      int ready = ::poll(&wanted, 1, static_cast<int>(std::min(left, kStopCheckEvery).count()));
      if (ready > 0) return true;
      if (ready < 0 && errno != EINTR) return false;
    }
    return false;
  }

  socket_t sock_;
  const HttpLimits& limits_;
  std::function<bool()> stopping_;
  std::array<char, 4096> buffer_{};
  std::size_t start_ = 0;  // what the buffer holds that was not read yet: [start_, end_)
  std::size_t end_ = 0;
  bool in_head_ = false;
  Clock::time_point head_deadline_{};
  std::size_t head_bytes_ = 0;
  bool broken_ = false;
};

}  // namespace

bool IsServedHost(std::string_view host, std::string_view bind) {
  // The port is not compared: through a forwarded port or a tunnel the browser names another.
  std::string_view name = host;
  std::size_t port_at = name.find(':', name.empty() || name[0] != '[' ? 0 : name.find(']'));
  if (port_at != std::string_view::npos) {
    if (!IsPortPart(name.substr(port_at))) return false;
    name = name.substr(0, port_at);
  }
  if (name.empty()) return false;
  for (std::string_view served : {"127.0.0.1", "localhost", "[::1]"}) {
    if (EqualsIgnoringCase(name, served)) return true;
  }
  std::string bound(bind);
  if (bound.find(':') != std::string::npos) bound = "[" + bound + "]";
  if (EqualsIgnoringCase(name, bound)) return true;
  return IsEveryAddress(bind) && IsAddress(name);
}

HttpServer::HttpServer(const HttpLimits& limits, std::string bind)
    : limits_(limits), bind_(std::move(bind)) {
  new_task_queue = [most = limits_.most_connections] {
    return new ServingThreads(most, kThreadLinger);
  };
  // What the answers' Keep-Alive header announces.
  set_keep_alive_max_count(kMostRequestsPerConnection);
  set_keep_alive_timeout(
      std::max<time_t>(1, std::chrono::ceil<std::chrono::seconds>(limits_.idle_time).count()));
  set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
    int status = Refusal(request);
    if (status == 0) return HandlerResponse::Unhandled;
    if (status == 405) response.set_header("Allow", "GET, HEAD");
    SendStatus(response, status);
    return HandlerResponse::Handled;
  });
  // A client that waits for leave to send its body gets the refusal instead.
  set_expect_100_continue_handler(
      [this](const httplib::Request& request, httplib::Response& response) {
        int status = Refusal(request);
        if (status == 0) return 100;
        if (status == 405) response.set_header("Allow", "GET, HEAD");
        SendStatus(response, status);
        return status;
      });
}

void HttpServer::WidenBacklog() { ::listen(svr_sock_, SOMAXCONN); }

int HttpServer::Refusal(const httplib::Request& request) const {
  if (request.get_header_value_count("Host") != 1 ||
      !IsServedHost(request.get_header_value("Host"), bind_)) {
    return 403;
  }
  // Nothing here can be changed through the server: 405 whatever the body, which is never read.
  if (request.method != "GET" && request.method != "HEAD") return 405;
  // A request that only reads needs no body; one that declares a body is answered at once,
  // without reading it, since nothing bounds its size: 413 says that the body is what is wrong.
  if (DeclaresBody(request)) return 413;
  return 0;
}

bool HttpServer::process_and_close_socket(socket_t sock) {
  // An answer goes out in several writes (head, then body); waiting for the client to
  // acknowledge the first before sending the next costs a kept-alive connection 40 ms an answer.
  int on = 1;
  ::setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
  bool served = true;
  {
    Connection connection(sock, limits_, [this] { return svr_sock_ == INVALID_SOCKET; });
    bool body_unread = false;
    for (std::size_t left = keep_alive_max_count_; left > 0 && connection.AwaitRequest(); --left) {
      connection.StartHead();
      bool closed = false;
      served = process_request(connection, left == 1, closed, [&](httplib::Request& request) {
        connection.EndHead();
        if (!DeclaresBody(request)) return;
        // The body is never read, so the connection ends after the answer, which says so:
        // its bytes must never be taken for the next request.
        body_unread = true;
        closed = true;
        request.headers.erase("Connection");
        request.headers.emplace("Connection", "close");
      });
      if (!served || closed || connection.broken()) break;
    }
    if (body_unread) connection.Drain();
  }
  ::shutdown(sock, SHUT_RDWR);
  ::close(sock);
  return served;
}

void SendStatus(httplib::Response& response, int status) {
  response.status = status;
  response.set_header("Cache-Control", "no-store");
  response.set_content(std::to_string(status) + " " + StatusText(status) + "\n", "text/plain");
}

}  // namespace pentrak
