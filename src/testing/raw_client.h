#pragma once

// For tests only: a client that sends exactly the bytes a test writes, as slowly as it likes.

#include <chrono>
#include <string>
#include <string_view>

namespace pentrak {

class RawClient {
 public:
  // Connects to 127.0.0.1 at port; connected() tells whether it could.
  explicit RawClient(int port);
  ~RawClient();
  RawClient(const RawClient&) = delete;
  RawClient& operator=(const RawClient&) = delete;

  bool connected() const { return fd_ >= 0; }
  // True once the server closed the connection (seen by Receive).
  bool closed() const { return closed_; }

  // Sends the bytes; false when the server no longer takes them.
  bool Send(std::string_view bytes);

  // What the server sends until text has arrived, the server closes, or wait passes.
  std::string Receive(std::chrono::milliseconds wait, std::string_view text = "");

 private:
  int fd_ = -1;
  bool closed_ = false;
};

}  // namespace pentrak
