// Time to the answer on a machine without network, under the default engine
// chain (microsoft,transmart,google,dictionary): starts the real
// parlavo-service with every online engine's address on 127.0.0.1, where
// either nothing listens (refused at once, like a machine whose name lookups
// fail at once) or a listener never accepts and its queue is full (a black
// hole: each connection attempt hangs until the service's connect limit).
// Prints the first translation's time and the following ones' (median and
// slowest) for each case.
//
//   offline_answer [path/to/parlavo-service]

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

sockaddr_in Loopback(int port) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  return address;
}

// A bound loopback socket on a port the system picks; `backlog` < 0: not listening.
int BoundSocket(int backlog, int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address = Loopback(0);
  bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
  socklen_t length = sizeof address;
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
  port = ntohs(address.sin_port);
  if (backlog >= 0) listen(fd, backlog);
  return fd;
}

// The reply of one request, or "" when the service cannot be reached.
std::string Exchange(int port, const std::string& target) {
  const int connection = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(port);
  std::string reply;
  if (connect(connection, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + target + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    send(connection, request.data(), request.size(), MSG_NOSIGNAL);
    char buffer[4096];
    for (ssize_t n; (n = recv(connection, buffer, sizeof buffer, 0)) > 0;) reply.append(buffer, static_cast<std::size_t>(n));
  }
  close(connection);
  return reply;
}

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

bool Measure(const std::string& executable, const char* name, int upstreamPort) {
  int servicePort = 0;
  close(BoundSocket(-1, servicePort));
  const std::string listen = "127.0.0.1:" + std::to_string(servicePort);
  const std::string upstream = "http://127.0.0.1:" + std::to_string(upstreamPort);
  const pid_t pid = fork();
  if (pid == 0) {
    execl(executable.c_str(), executable.c_str(), "--listen", listen.c_str(), "--microsoft-url", upstream.c_str(),
          "--transmart-url", upstream.c_str(), "--google-url", upstream.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  const auto start = Clock::now();
  while (Exchange(servicePort, "/ajax/services/language/detect?v=1.0&q=hi").empty() &&
         Clock::now() - start < std::chrono::seconds(20)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  const std::string translate = "/ajax/services/language/translate?v=1.0&langpair=zh|en&q=%e4%bd%a0%e5%a5%bd";
  std::vector<double> times;
  bool fellBack = true;
  for (int i = 0; i < 21; ++i) {
    const auto before = Clock::now();
    const std::string reply = Exchange(servicePort, translate);
    times.push_back(Milliseconds(Clock::now() - before));
    fellBack = fellBack && reply.find(R"("engine":"dictionary")") != std::string::npos;
  }
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  if (!fellBack) {
    std::fprintf(stderr, "offline_answer: the dictionary did not answer every request (%s)\n", name);
    return false;
  }
  const double first = times.front();
  std::vector<double> following(times.begin() + 1, times.end());
  std::sort(following.begin(), following.end());
  std::printf("%-34s first %8.1f ms (target <= 3000)   following: median %6.2f ms, slowest %6.2f ms (target <= 50)\n",
              name, first, following[following.size() / 2], following.back());
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string executable = argc > 1 ? argv[1] : PARLAVO_SERVICE_EXECUTABLE;
  int refusing = 0;
  close(BoundSocket(-1, refusing));
  // The black hole: a listener that never accepts, its one-place queue taken.
  int blackHole = 0;
  const int listener = BoundSocket(0, blackHole);
  const int filler = socket(AF_INET, SOCK_STREAM, 0);
  const sockaddr_in address = Loopback(blackHole);
  connect(filler, reinterpret_cast<const sockaddr*>(&address), sizeof address);
  const bool ok = Measure(executable, "every online engine refused:", refusing) &&
                  Measure(executable, "every online engine a black hole:", blackHole);
  close(filler);
  close(listener);
  return ok ? 0 : 1;
}
