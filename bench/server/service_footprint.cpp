// Starts the real parlavo-service with the default chain of engines, every
// online one's address on a loopback server that answers each request with
// 8 MiB of "[" (no traffic leaves the machine); measures the time until it
// answers its first detect request (which includes loading the dictionary
// index), its resident memory once it has been idle for a second, its peak
// memory through four translations at once that meet those hostile replies,
// through translations of 100 KB and 1 MiB of Chinese (which the dictionary
// answers, the online engines paused by then), and its resident memory while
// 100 connections each hold 1 MiB of an unfinished request. Prints each next
// to its target.
//
//   service_footprint [path/to/parlavo-service]

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

// A socket bound to a port of 127.0.0.1 the system picks.
int BoundLoopbackSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
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

// One request on its own connection; the whole reply.
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

bool Answers(int port) { return Exchange(port, Request("detect?v=1.0&q=%68%69")).starts_with("HTTP/1.1 200"); }

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

// A loopback upstream whose every reply is 8 MiB of "[": deep enough to
// exhaust a parser without limits. Runs until the program ends.
int StartHostileUpstream() {
  int port = 0;
  const int listener = BoundLoopbackSocket(port);
  listen(listener, 16);
  std::thread([listener] {
    const std::string body(8 * 1024 * 1024 - 16, '[');
    const std::string head = "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                             std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n";
    for (int connection; (connection = accept(listener, nullptr, nullptr)) >= 0;) {
      std::thread([connection, &head, &body] {
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
        SendAll(connection, head + body);
        close(connection);
      }).detach();
    }
  }).detach();
  return port;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string executable = argc > 1 ? argv[1] : PARLAVO_SERVICE_EXECUTABLE;
  const int port = FreePort();
  const std::string listen = "127.0.0.1:" + std::to_string(port);
  const std::string hostile = "http://127.0.0.1:" + std::to_string(StartHostileUpstream());
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(executable.c_str(), executable.c_str(), "--listen", listen.c_str(), "--microsoft-url", hostile.c_str(),
          "--transmart-url", hostile.c_str(), "--google-url", hostile.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  bool answered = false;
  while (std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
    if ((answered = Answers(port))) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  const auto ready = std::chrono::steady_clock::now();
  if (!answered) {
    std::fprintf(stderr, "service_footprint: %s did not answer on %s\n", executable.c_str(), listen.c_str());
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return 1;
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long rss = StatusKilobytes(pid, "VmRSS:");

  std::vector<std::thread> hostileRequests;
  for (int i = 0; i < 4; ++i) {
    hostileRequests.emplace_back([port] { Exchange(port, Request("translate?v=1.0&langpair=en|zh&q=hello")); });
  }
  for (std::thread& request : hostileRequests) request.join();
  const long hostilePeak = StatusKilobytes(pid, "VmHWM:");

  std::string translations;
  for (const std::size_t bytes : {std::size_t{100 * 1024}, std::size_t{1024 * 1024}}) {
    const auto begin = std::chrono::steady_clock::now();
    const std::string reply = Exchange(port, Request("translate?v=1.0&langpair=zh|en&q=" + EncodedChinese(bytes)));
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    char line[200];
    std::snprintf(line, sizeof line, "%zu KB of Chinese: %s in %.3f s (%.1f MB/s of input; target >= 5), peak memory %.1f MB\n",
                  bytes / 1024, reply.substr(0, 12).c_str(), seconds, static_cast<double>(bytes) / 1e6 / seconds,
                  Megabytes(StatusKilobytes(pid, "VmHWM:")));
    translations += line;
  }

  std::vector<int> holding;
  const std::string unfinished = "GET /ajax/services/language/detect?v=1.0&q=" + std::string(1024 * 1024, 'a');
  for (int i = 0; i < 100; ++i) {
    holding.push_back(Connect(port));
    SendAll(holding.back(), unfinished);
  }
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long holdingRss = StatusKilobytes(pid, "VmRSS:");
  for (const int connection : holding) close(connection);
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);

  const double startMs = std::chrono::duration<double, std::milli>(ready - start).count();
  std::printf("start until first answer (includes loading the index): %.1f ms\n", startMs);
  std::printf("resident memory at idle: %.1f MB (target <= 60 MB)\n", Megabytes(rss));
  std::printf("peak memory after four translations at once met 8 MiB of \"[\" from each online engine: %.1f MB "
              "(target < 256 MB)\n", Megabytes(hostilePeak));
  std::fputs(translations.c_str(), stdout);
  std::printf("resident memory with 100 connections each holding 1 MiB of a request: %.1f MB\n", Megabytes(holdingRss));
  std::printf("exit after SIGTERM: %s\n", WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "clean" : "not clean");
  return 0;
}
