#pragma once

#include <chrono>
#include <string>

namespace parlavo::server::testing {

// A plain TCP connection to 127.0.0.1, for requests an HTTP client library
// would not send (no Host header, absolute-form targets, a request left
// unfinished).
class RawConnection {
 public:
  explicit RawConnection(int port);
  ~RawConnection();
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return m_socket >= 0; }
  void Send(const std::string& bytes);
  // Everything until the server closes the connection or `limit` passes.
  std::string ReceiveAll(std::chrono::milliseconds limit = std::chrono::seconds(10));
  // Whether the last ReceiveAll ended because the server closed the connection.
  bool closedByPeer() const { return m_closedByPeer; }

 private:
  int m_socket = -1;
  bool m_closedByPeer = false;
};

// Sends one request and returns the whole reply ("HTTP/1.1 200 OK\r\n...").
std::string Exchange(int port, const std::string& request);

// The status code of a raw reply, 0 when there is none.
int StatusOf(const std::string& reply);
// The body of a raw reply.
std::string BodyOf(const std::string& reply);

}  // namespace parlavo::server::testing
