#include "service_fixture.h"

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>

#include "indexer/index_writer.h"

namespace parlavo::server::testing {

using Clock = std::chrono::steady_clock;

bool Readable(int fd, Clock::time_point deadline) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
  pollfd descriptor{fd, POLLIN, 0};
  return left > 0 && poll(&descriptor, 1, static_cast<int>(left)) > 0;
}

DictionaryEngine& RealDictionaryEngine() {
  static DictionaryEngine engine(DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX));
  return engine;
}

TemporaryPath::TemporaryPath() {
  static std::atomic<int> counter = 0;
  path = std::filesystem::temp_directory_path() /
         ("parlavo-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

DictionaryIndex IndexOf(const DictionaryTables& tables) {
  TemporaryPath file;
  WriteDictionaryIndex(tables, file.path);
  return DictionaryIndex::Load(file.path);
}

RawConnection::RawConnection(int port) : m_socket(socket(AF_INET, SOCK_STREAM, 0)) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(m_socket);
    m_socket = -1;
  }
}

void RawConnection::Send(const std::string& bytes) {
  for (std::size_t sent = 0; m_socket >= 0 && sent < bytes.size();) {
    const ssize_t n = send(m_socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string RawConnection::ReceiveAll(std::chrono::milliseconds limit) {
  std::string received;
  m_closedByPeer = false;
  const auto deadline = Clock::now() + limit;
  char buffer[4096];
  while (m_socket >= 0 && Readable(m_socket, deadline)) {
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

std::string Get(int port, const std::string& target, const std::string& headers) {
  return Exchange(port, "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + headers + "Connection: close\r\n\r\n");
}

int StatusOf(const std::string& reply) {
  return reply.starts_with("HTTP/1.1 ") && reply.size() >= 12 ? std::atoi(reply.substr(9, 3).c_str()) : 0;
}

std::string BodyOf(const std::string& reply) {
  const auto end = reply.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : reply.substr(end + 4);
}

}  // namespace parlavo::server::testing
