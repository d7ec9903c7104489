#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace parlavo::server::testing {

// The service executable run as a child process, its standard error read by
// the test.
class ChildProcess {
 public:
  // `passedSocket`: handed over at descriptor 3 with LISTEN_PID/LISTEN_FDS,
  // the way systemd's socket activation does.
  ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
               std::optional<int> passedSocket = std::nullopt);
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of standard error; empty at its end or after `limit`.
  std::string ReadErrorLine(std::chrono::milliseconds limit = std::chrono::seconds(10));
  void Signal(int signal);
  // The exit code, or -1 when it did not exit normally within `limit`.
  int Wait(std::chrono::milliseconds limit = std::chrono::seconds(10));

 private:
  int m_pid = -1;
  int m_stderr = -1;
  std::string m_buffer;
  bool m_reaped = false;
};

}  // namespace parlavo::server::testing
