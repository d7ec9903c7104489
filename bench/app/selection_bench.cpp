// Time from the start of `parlavo --selection` (what a desktop key runs) to
// its translation reaching the window, with the window already open and with
// it closed. A service of the bench's own answers at once on the program's
// service address; the selection is xclip's; the session bus is the bench's
// own. Run under xvfb-run -a, with nothing else on the service's port.
#include <benchmark/benchmark.h>

#include <gio/gio.h>
#include <httplib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "child_process.h"

namespace {

using parlavo::testing::Spawn;
using parlavo::testing::Stop;
using Clock = std::chrono::steady_clock;
constexpr auto GIVE_UP_AFTER = std::chrono::seconds(20);

// Answers detect and translate at once and notes when a translation went out.
class InstantService {
 public:
  InstantService() {
    m_server.Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
      if (request.path.find("/detect") != std::string::npos) {
        response.set_content(R"({"responseData":{"language":"en"},"responseStatus":200})", "text/javascript");
        return;
      }
      response.set_content(R"({"responseData":{"translatedText":"早上好。","engine":"dictionary"},"responseStatus":200})",
                           "text/javascript");
      m_answeredAt = Clock::now().time_since_epoch().count();
      ++m_answered;
    });
    const std::string host = PARLAVO_SERVICE_HOST;
    const std::size_t colon = host.rfind(':');
    m_bound = m_server.bind_to_port(host.substr(0, colon), colon == std::string::npos ? 80 : std::stoi(host.substr(colon + 1)));
    if (m_bound) m_thread = std::thread([this] { m_server.listen_after_bind(); });
  }
  ~InstantService() {
    m_server.stop();
    if (m_thread.joinable()) m_thread.join();
  }
  bool bound() const { return m_bound; }
  int answered() const { return m_answered; }
  Clock::time_point answeredAt() const { return Clock::time_point(Clock::duration(m_answeredAt.load())); }

 private:
  httplib::Server m_server;
  bool m_bound = false;
  std::thread m_thread;
  std::atomic<int> m_answered{0};
  std::atomic<Clock::rep> m_answeredAt{0};
};

// Seconds from starting `parlavo --selection` to its translation answered.
double Measure(const InstantService& service, bool windowOpen) {
  const int before = service.answered();
  const Clock::time_point start = Clock::now();
  const pid_t pid = Spawn({PARLAVO_PROGRAM, "--selection"});
  while (service.answered() == before) {
    if (Clock::now() - start > GIVE_UP_AFTER) {
      Stop(pid);
      throw std::runtime_error("no translation from parlavo --selection");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  const double seconds = std::chrono::duration<double>(service.answeredAt() - start).count();
  // The start that handed its request over has ended; a window of its own
  // is closed for the next round.
  if (windowOpen)
    waitpid(pid, nullptr, 0);
  else
    Stop(pid);
  // The bus lets go of a closed window's name after the process is gone.
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  return seconds;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

void SelectionToTranslation(benchmark::State& state) {
  const bool windowOpen = state.range(0) != 0;
  // The test bus takes DISPLAY out of the environment each time.
  static const char* const display = std::getenv("DISPLAY");
  if (display == nullptr) {
    state.SkipWithError("no X display: run under xvfb-run -a");
    return;
  }
  GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
  g_test_dbus_up(bus);
  setenv("DISPLAY", display, 1);
  setenv("NO_AT_BRIDGE", "1", 1);  // the test bus has no accessibility bus
  {
    InstantService service;
    const std::string file = "/tmp/selection_bench-" + std::to_string(getpid());
    std::ofstream(file) << "Good morning.";
    const pid_t owner = Spawn({"xclip", "-quiet", "-selection", "primary", "-i", file}, true);
    pid_t window = 0;
    std::vector<double> seconds;
    try {
      if (!service.bound()) throw std::runtime_error("the service's port " PARLAVO_SERVICE_HOST " is in use");
      if (owner == 0) throw std::runtime_error("cannot start xclip");
      std::this_thread::sleep_for(std::chrono::milliseconds(300));
      if (windowOpen) {
        window = Spawn({PARLAVO_PROGRAM});
        std::this_thread::sleep_for(std::chrono::seconds(2));
      }
      Measure(service, windowOpen);  // caches: not what a user sees each time
      for (auto _ : state) {
        seconds.push_back(Measure(service, windowOpen));
        state.SetIterationTime(seconds.back());
      }
      state.counters["median_ms"] = 1000 * Median(seconds);
    } catch (const std::exception& error) {
      state.SkipWithError(error.what());
    }
    if (window != 0) Stop(window);
    if (owner != 0) Stop(owner);
    std::remove(file.c_str());
  }
  g_test_dbus_down(bus);
  g_object_unref(bus);
}

BENCHMARK(SelectionToTranslation)
    ->ArgName("window_open")
    ->Arg(1)
    ->Arg(0)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(11);

}  // namespace
