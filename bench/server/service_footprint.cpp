// Starts the real parlavo-service (dictionary engine), measures the time
// until it answers its first detect request (which includes loading the
// dictionary index), then its resident memory once it has been idle for a
// second. Prints both next to their targets.
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

namespace {

int FreePort() {
  const int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

// One detect request; true when the service answered with 200.
bool Answers(int port) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  bool ok = false;
  if (connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    const std::string request =
        "GET /ajax/services/language/detect?v=1.0&q=%68%69 HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    send(connection, request.data(), request.size(), MSG_NOSIGNAL);
    char reply[512] = {};
    const ssize_t n = recv(connection, reply, sizeof reply - 1, 0);
    ok = n > 12 && std::string(reply, 12) == "HTTP/1.1 200";
  }
  close(connection);
  return ok;
}

long ResidentKilobytes(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string executable = argc > 1 ? argv[1] : PARLAVO_SERVICE_EXECUTABLE;
  const int port = FreePort();
  const std::string listen = "127.0.0.1:" + std::to_string(port);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    execl(executable.c_str(), executable.c_str(), "--listen", listen.c_str(), "--engine", "dictionary",
          static_cast<char*>(nullptr));
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
  const long rss = ResidentKilobytes(pid);
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);

  const double startMs = std::chrono::duration<double, std::milli>(ready - start).count();
  std::printf("start until first answer (includes loading the index): %.1f ms\n", startMs);
  std::printf("resident memory at idle: %.1f MB (target <= 60 MB)\n", static_cast<double>(rss) / 1024.0);
  std::printf("exit after SIGTERM: %s\n", WIFEXITED(status) && WEXITSTATUS(status) == 0 ? "clean" : "not clean");
  return 0;
}
