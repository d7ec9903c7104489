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

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "service_process.h"

namespace {

using namespace parlavo::bench;
using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration duration) { return std::chrono::duration<double, std::milli>(duration).count(); }

bool Measure(const std::string& executable, const char* name, int upstreamPort) {
  const std::string upstream = "http://127.0.0.1:" + std::to_string(upstreamPort);
  ServiceProcess service(executable, {"--microsoft-url", upstream, "--transmart-url", upstream, "--google-url", upstream});
  // 你好，世界: a sentence, as a single word is answered from the dictionary before any engine.
  const std::string translate = Request("translate?v=1.0&langpair=zh|en&q=%e4%bd%a0%e5%a5%bd%ef%bc%8c%e4%b8%96%e7%95%8c");
  std::vector<double> times;
  bool fellBack = true;
  for (int i = 0; i < 21; ++i) {
    const auto before = Clock::now();
    const std::string reply = Exchange(service.port(), translate);
    times.push_back(Milliseconds(Clock::now() - before));
    fellBack = fellBack && reply.find(R"("engine":"dictionary")") != std::string::npos;
  }
  service.Stop();
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
  const int refusing = FreePort();
  // The black hole: a listener that never accepts, its one-place queue taken.
  int blackHole = 0;
  const int listener = BoundLoopbackSocket(blackHole);
  listen(listener, 0);
  const int filler = Connect(blackHole);
  const bool ok = Measure(executable, "every online engine refused:", refusing) &&
                  Measure(executable, "every online engine a black hole:", blackHole);
  close(filler);
  close(listener);
  return ok ? 0 : 1;
}
