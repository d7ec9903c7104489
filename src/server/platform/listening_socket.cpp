#include "platform/listening_socket.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <stdexcept>

namespace parlavo::server {

namespace {

constexpr int kFirstPassedDescriptor = 3;  // SD_LISTEN_FDS_START

std::optional<long> EnvironmentNumber(const char* name) {
  const char* value = std::getenv(name);
  if (!value || !*value) return std::nullopt;
  char* end = nullptr;
  const long number = std::strtol(value, &end, 10);
  if (*end != '\0') return std::nullopt;
  return number;
}

bool IsListeningStreamSocket(int descriptor) {
  int type = 0;
  int listening = 0;
  socklen_t length = sizeof type;
  if (getsockopt(descriptor, SOL_SOCKET, SO_TYPE, &type, &length) != 0 || type != SOCK_STREAM) return false;
  length = sizeof listening;
  return getsockopt(descriptor, SOL_SOCKET, SO_ACCEPTCONN, &listening, &length) == 0 && listening;
}

std::string Why(int error) {
  switch (error) {
    case EADDRINUSE:
      return "端口已被占用（也许另一个 parlavo-service 已在运行）";
    case EADDRNOTAVAIL:
      return "本机没有这个地址";
    case EACCES:
      return "没有使用这个端口的权限";
    default:
      return "地址无效，或端口不可用";
  }
}

sockaddr_storage AddressOf(int socket) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length);
  return address;
}

}  // namespace

std::optional<int> TakePassedListeningSocket() {
  const auto pid = EnvironmentNumber("LISTEN_PID");
  const auto count = EnvironmentNumber("LISTEN_FDS");
  unsetenv("LISTEN_PID");
  unsetenv("LISTEN_FDS");
  unsetenv("LISTEN_FDNAMES");
  if (!pid || !count || *pid != getpid() || *count != 1) return std::nullopt;
  if (!IsListeningStreamSocket(kFirstPassedDescriptor)) return std::nullopt;
  // The server's threads share it: one that finds the queue empty must not
  // block in accept() while its connections wait.
  fcntl(kFirstPassedDescriptor, F_SETFL, fcntl(kFirstPassedDescriptor, F_GETFL) | O_NONBLOCK);
  return kFirstPassedDescriptor;
}

int ListenOn(const std::string& host, int port) {
  const std::string shown = (host.find(':') != std::string::npos ? "[" + host + "]" : host) + ":" + std::to_string(port);
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) {
    throw std::runtime_error("无法在 " + shown + " 上监听：" + Why(EINVAL));
  }
  int error = EINVAL;
  int listening = -1;
  for (const addrinfo* candidate = found; candidate && listening < 0; candidate = candidate->ai_next) {
    const int s = socket(candidate->ai_family, candidate->ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (s < 0) continue;
    // Lets a restarted service bind while old connections linger in
    // TIME_WAIT; on Linux it never lets two sockets listen on one port.
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(s, candidate->ai_addr, candidate->ai_addrlen) == 0 && listen(s, SOMAXCONN) == 0) {
      listening = s;
    } else {
      error = errno;
      close(s);
    }
  }
  freeaddrinfo(found);
  if (listening < 0) throw std::runtime_error("无法在 " + shown + " 上监听：" + Why(error));
  return listening;
}

std::string BoundAddress(int socket) {
  sockaddr_storage address = AddressOf(socket);
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address)->sin_addr, text, sizeof text);
  } else if (address.ss_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr, text, sizeof text);
  }
  return text;
}

int BoundPort(int socket) {
  sockaddr_storage address = AddressOf(socket);
  if (address.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
  if (address.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  return 0;
}

bool IsLoopbackOnly(int socket) {
  sockaddr_storage address = AddressOf(socket);
  if (address.ss_family == AF_INET) {
    return (ntohl(reinterpret_cast<sockaddr_in*>(&address)->sin_addr.s_addr) >> 24) == 127;
  }
  if (address.ss_family == AF_INET6) {
    const in6_addr& ip = reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr;
    return IN6_IS_ADDR_LOOPBACK(&ip) ||
           (IN6_IS_ADDR_V4MAPPED(&ip) && ip.s6_addr[12] == 127);
  }
  return false;
}

void ShutDownConnection(int socket) { shutdown(socket, SHUT_RDWR); }

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace parlavo::server
