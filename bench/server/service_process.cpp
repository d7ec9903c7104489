#include "service_process.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace parlavo::bench {

namespace {

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

}  // namespace

int BoundLoopbackSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  return fd;
}

int FreePort() {
  int port = 0;
  close(BoundLoopbackSocket(port));
  return port;
}

int Connect(int port) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(port);
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    close(connection);
    return -1;
  }
  return connection;
}

void SendAll(int connection, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = send(connection, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return;
    sent += static_cast<std::size_t>(n);
  }
}

std::string StartUpstream(std::string body) {
  int port = 0;
  const int listener = BoundLoopbackSocket(port);
  listen(listener, 128);
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                           std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
  std::thread([listener, reply = head + body] {
    for (int connection; (connection = accept(listener, nullptr, nullptr)) >= 0;) {
      std::thread([connection, &reply] {
        std::string request;
        char buffer[4096];
        // The headers, then as many body bytes as they announce.
        for (ssize_t n; request.find("\r\n\r\n") == std::string::npos &&
                        (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
          request.append(buffer, static_cast<std::size_t>(n));
        }
        const auto field = request.find("Content-Length: ");
        const std::size_t announced = field == std::string::npos ? 0 : std::stoul(request.substr(field + 16));
        for (ssize_t n; request.size() - request.find("\r\n\r\n") - 4 < announced &&
                        (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) {
          request.append(buffer, static_cast<std::size_t>(n));
        }
        SendAll(connection, reply);
        close(connection);
      }).detach();
    }
  }).detach();
  return "http://127.0.0.1:" + std::to_string(port);
}

std::string Exchange(int port, const std::string& request) {
  const int connection = Connect(port);
  std::string reply;
  if (connection < 0) return reply;
  SendAll(connection, request);
  char buffer[65536];
  for (ssize_t n; (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<std::size_t>(n));
  close(connection);
  return reply;
}

std::string Request(const std::string& query) {
  return "GET /ajax/services/language/" + query + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
}

std::string EncodedChinese(std::size_t bytes) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::string sentence = "今天天气很好，我们一起去公园散步吧。";
  std::string encoded;
  for (std::size_t size = 0; size + sentence.size() <= bytes; size += sentence.size()) {
    for (unsigned char byte : sentence) {
      encoded += '%';
      encoded += kHex[byte >> 4];
      encoded += kHex[byte & 0x0F];
    }
  }
  return encoded;
}

long StatusKilobytes(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind(field, 0) == 0) return std::stol(line.substr(field.size()));
  }
  return -1;
}

double Megabytes(long kilobytes) { return static_cast<double>(kilobytes) / 1024.0; }

ServiceProcess::ServiceProcess(const std::string& executable, const std::vector<std::string>& arguments)
    : m_port(FreePort()) {
  const std::string listen = "127.0.0.1:" + std::to_string(m_port);
  std::vector<const char*> argv{executable.c_str(), "--listen", listen.c_str()};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  m_pid = fork();
  if (m_pid == 0) {
    execv(executable.c_str(), const_cast<char* const*>(argv.data()));
    _exit(127);
  }
  while (!m_answering && std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
    m_answering = Exchange(m_port, Request("detect?v=1.0&q=%68%69")).starts_with("HTTP/1.1 200");
    if (!m_answering) std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  m_startMilliseconds = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

ServiceProcess::~ServiceProcess() {
  if (m_stopped) return;
  kill(m_pid, SIGKILL);
  waitpid(m_pid, nullptr, 0);
}

bool ServiceProcess::Stop() {
  kill(m_pid, SIGTERM);
  int status = 0;
  waitpid(m_pid, &status, 0);
  m_stopped = true;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace parlavo::bench
