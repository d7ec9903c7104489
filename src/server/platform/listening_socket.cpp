#include "platform/listening_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <string_view>

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

}  // namespace

std::optional<int> TakePassedListeningSocket() {
  const auto pid = EnvironmentNumber("LISTEN_PID");
  const auto count = EnvironmentNumber("LISTEN_FDS");
  unsetenv("LISTEN_PID");
  unsetenv("LISTEN_FDS");
  unsetenv("LISTEN_FDNAMES");
  if (!pid || !count || *pid != getpid() || *count != 1) return std::nullopt;
  if (!IsListeningStreamSocket(kFirstPassedDescriptor)) return std::nullopt;
  return kFirstPassedDescriptor;
}

std::string BoundAddress(int socket) {
  sockaddr_storage address{};
  socklen_t length = sizeof address;
  if (getsockname(socket, reinterpret_cast<sockaddr*>(&address), &length) != 0) return {};
  char text[INET6_ADDRSTRLEN] = {};
  if (address.ss_family == AF_INET) {
    inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&address)->sin_addr, text, sizeof text);
  } else if (address.ss_family == AF_INET6) {
    inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&address)->sin6_addr, text, sizeof text);
  }
  return text;
}

void WidenListenQueue(int socket) { listen(socket, SOMAXCONN); }

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace parlavo::server
