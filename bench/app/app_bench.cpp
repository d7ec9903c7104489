// Start-up to the window on screen, and resident memory once idle, of the
// application against a minimal wxWidgets frame showing the same Chinese
// texts in the same font, measured alternately in the same run. Needs an X
// display without a window manager (xvfb-run -a).
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for start-up work queued behind the first paint to finish.
constexpr auto IDLE_AFTER_SHOWN = std::chrono::milliseconds(1500);
constexpr auto GIVE_UP_AFTER = std::chrono::seconds(20);

struct Launch {
  double secondsToShown = 0;
  double residentMiB = 0;
  // The part of it that is the process's own, not pages of shared files.
  double anonymousMiB = 0;
};

double StatusMiB(pid_t pid, const std::string& field) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string line;
  while (std::getline(status, line))
    if (line.starts_with(field + ":")) return std::stod(line.substr(field.size() + 1)) / 1024.0;
  throw std::runtime_error("no " + field + " for the program");
}

// Starts `program` and returns once its first top-level window is mapped.
Launch Measure(Display* display, const char* program) {
  const Window root = DefaultRootWindow(display);
  XSelectInput(display, root, SubstructureNotifyMask);
  XSync(display, True);

  const Clock::time_point start = Clock::now();
  pid_t pid = 0;
  char* const argv[] = {const_cast<char*>(program), nullptr};
  if (posix_spawn(&pid, program, nullptr, nullptr, argv, environ) != 0)
    throw std::runtime_error(std::string("cannot start ") + program);

  Launch launch;
  for (;;) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.type == MapNotify && event.xmap.event == root && !event.xmap.override_redirect &&
          launch.secondsToShown == 0)
        launch.secondsToShown = std::chrono::duration<double>(Clock::now() - start).count();
    }
    if (launch.secondsToShown != 0) break;
    if (Clock::now() - start > GIVE_UP_AFTER) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
      throw std::runtime_error(std::string(program) + " showed no window");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }

  std::this_thread::sleep_for(IDLE_AFTER_SHOWN);
  launch.residentMiB = StatusMiB(pid, "VmRSS");
  launch.anonymousMiB = StatusMiB(pid, "RssAnon");
  kill(pid, SIGTERM);
  waitpid(pid, nullptr, 0);
  XSelectInput(display, root, NoEventMask);
  return launch;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void StartupAndIdleMemoryAgainstMinimalFrame(benchmark::State& state) {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    state.SkipWithError("no X display: run under xvfb-run -a");
    return;
  }
  // The first start of each reads libraries and fonts from disk and fills
  // caches (Mesa's shader cache among them): not what a user sees each time.
  Measure(display, PARLAVO_PROGRAM);
  Measure(display, MINIMAL_FRAME_PROGRAM);

  std::vector<double> appSeconds, frameSeconds, appMiB, frameMiB, appAnonymousMiB, frameAnonymousMiB;
  for (auto _ : state) {
    // Alternating, so drift in the machine's load hits both alike.
    const Launch app = Measure(display, PARLAVO_PROGRAM);
    const Launch frame = Measure(display, MINIMAL_FRAME_PROGRAM);
    appSeconds.push_back(app.secondsToShown);
    frameSeconds.push_back(frame.secondsToShown);
    appMiB.push_back(app.residentMiB);
    frameMiB.push_back(frame.residentMiB);
    appAnonymousMiB.push_back(app.anonymousMiB);
    frameAnonymousMiB.push_back(frame.anonymousMiB);
    state.SetIterationTime(app.secondsToShown);
  }
  XCloseDisplay(display);
  // Medians: one start disturbed by another process should not decide.
  state.counters["app_ms"] = 1000 * Median(appSeconds);
  state.counters["frame_ms"] = 1000 * Median(frameSeconds);
  state.counters["time_ratio"] = Median(appSeconds) / Median(frameSeconds);
  state.counters["app_MiB"] = Median(appMiB);
  state.counters["frame_MiB"] = Median(frameMiB);
  state.counters["memory_ratio"] = Median(appMiB) / Median(frameMiB);
  state.counters["app_anon_MiB"] = Median(appAnonymousMiB);
  state.counters["frame_anon_MiB"] = Median(frameAnonymousMiB);
  state.counters["anon_ratio"] = Median(appAnonymousMiB) / Median(frameAnonymousMiB);
}

BENCHMARK(StartupAndIdleMemoryAgainstMinimalFrame)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(11);

}  // namespace
