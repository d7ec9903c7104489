#include "raw_connection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace parlavo::server::testing {

RawConnection::RawConnection(int port) {
  m_socket = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(m_socket);
    m_socket = -1;
  }
}

RawConnection::~RawConnection() {
  if (m_socket >= 0) close(m_socket);
}

void RawConnection::Send(const std::string& bytes) {
  std::size_t sent = 0;
  while (m_socket >= 0 && sent < bytes.size()) {
    const ssize_t n = send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string RawConnection::ReceiveAll(std::chrono::milliseconds limit) {
  std::string received;
  m_closedByPeer = false;
  const auto deadline = std::chrono::steady_clock::now() + limit;
  char buffer[4096];
  while (m_socket >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd descriptor{m_socket, POLLIN, 0};
    if (poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) break;
    const ssize_t n = recv(m_socket, buffer, sizeof buffer, 0);
    if (n <= 0) {
      m_closedByPeer = true;
      break;
    }
    received.append(buffer, static_cast<std::size_t>(n));
  }
  return received;
}

std::string Exchange(int port, const std::string& request) {
  RawConnection connection(port);
  connection.Send(request);
  return connection.ReceiveAll();
}

int StatusOf(const std::string& reply) {
  if (!reply.starts_with("HTTP/1.1 ") || reply.size() < 12) return 0;
  return std::atoi(reply.substr(9, 3).c_str());
}

std::string BodyOf(const std::string& reply) {
  const auto end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

}  // namespace parlavo::server::testing
