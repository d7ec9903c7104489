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

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "service_process.h"

using namespace parlavo::bench;

int main(int argc, char** argv) {
  const std::string executable = argc > 1 ? argv[1] : PARLAVO_SERVICE_EXECUTABLE;
  // Deep enough to exhaust a parser without limits.
  const std::string hostile = StartUpstream(std::string(8 * 1024 * 1024 - 16, '['));
  ServiceProcess service(executable, {"--microsoft-url", hostile, "--transmart-url", hostile, "--google-url", hostile});
  if (!service.answering()) {
    std::fprintf(stderr, "service_footprint: %s did not answer\n", executable.c_str());
    return 1;
  }
  const int port = service.port();
  const pid_t pid = service.pid();
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const long rss = StatusKilobytes(pid, "VmRSS:");

  std::vector<std::thread> hostileRequests;
  for (int i = 0; i < 4; ++i) {
    // A sentence: a single word would be answered from the dictionary before any engine.
    hostileRequests.emplace_back([port] { Exchange(port, Request("translate?v=1.0&langpair=en|zh&q=hello%2c%20world")); });
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
  const bool clean = service.Stop();

  std::printf("start until first answer (includes loading the index): %.1f ms\n", service.startMilliseconds());
  std::printf("resident memory at idle: %.1f MB (target <= 40 MB)\n", Megabytes(rss));
  std::printf("peak memory after four translations at once met 8 MiB of \"[\" from each online engine: %.1f MB "
              "(target < 256 MB)\n", Megabytes(hostilePeak));
  std::fputs(translations.c_str(), stdout);
  std::printf("resident memory with 100 connections each holding 1 MiB of a request: %.1f MB\n", Megabytes(holdingRss));
  std::printf("exit after SIGTERM: %s\n", clean ? "clean" : "not clean");
  return 0;
}
