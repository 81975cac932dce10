#pragma once

#include <httplib.h>

#include <string>
#include <string_view>

#include "preview/http_limits.h"

namespace pentrak {

// True when a request's Host header (with or without a port) names the address served:
// 127.0.0.1, localhost, [::1] or the address bound, in any case. Behind a server bound to every
// address (0.0.0.0, ::) any address written as such is taken too. A page of another site whose
// name was pointed at this machine sends that name, and so never reads what is served.
bool IsServedHost(std::string_view host, std::string_view bind);

// An HTTP server for reading (GET and HEAD) that no client can hold up or fill: each connection
// has a thread of its own, up to a bound; a request's line and headers must arrive in time and
// within a bound; request bodies are never read; an answer waits only so long for its client;
// a request whose Host is not the address served is refused with 403.
class HttpServer : public httplib::Server {
 public:
  HttpServer(const HttpLimits& limits, std::string bind);

  // Lets connections that arrive in a burst wait to be accepted instead of being turned away.
  void WidenBacklog();

 private:
  // Serves one connection (the library's own way has no bound on the time a request takes to
  // arrive); called by the library on a serving thread for each connection it accepts.
  bool process_and_close_socket(socket_t sock) override;

  // The status that refuses a request before it is routed, or 0.
  int Refusal(const httplib::Request& request) const;

  HttpLimits limits_;
  std::string bind_;
};

// Answers with the status alone, as a line of text: "404 Not Found". Never cached.
void SendStatus(httplib::Response& response, int status);

}  // namespace pentrak
