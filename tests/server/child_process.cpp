#include "child_process.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <thread>

namespace parlavo::server::testing {

ChildProcess::ChildProcess(const std::string& executable, const std::vector<std::string>& arguments,
                           std::optional<int> passedSocket) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return;
  std::vector<std::string> argv{executable};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);

  m_pid = fork();
  if (m_pid == 0) {
    dup2(pipeEnds[1], STDERR_FILENO);
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    if (passedSocket) {
      if (*passedSocket != 3) {
        dup2(*passedSocket, 3);
        close(*passedSocket);
      }
      setenv("LISTEN_PID", std::to_string(getpid()).c_str(), 1);
      setenv("LISTEN_FDS", "1", 1);
    }
    execv(executable.c_str(), pointers.data());
    _exit(127);
  }
  close(pipeEnds[1]);
  m_stderr = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
  if (m_pid > 0 && !m_reaped) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
  }
  if (m_stderr >= 0) close(m_stderr);
}

std::string ChildProcess::ReadErrorLine(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (m_buffer.find('\n') == std::string::npos) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd descriptor{m_stderr, POLLIN, 0};
    if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) break;
    char chunk[512];
    const ssize_t n = read(m_stderr, chunk, sizeof chunk);
    if (n <= 0) break;
    m_buffer.append(chunk, static_cast<std::size_t>(n));
  }
  const auto end = m_buffer.find('\n');
  std::string line = m_buffer.substr(0, end);
  m_buffer.erase(0, end == std::string::npos ? m_buffer.size() : end + 1);
  return line;
}

void ChildProcess::Signal(int signal) {
  if (m_pid > 0 && !m_reaped) kill(m_pid, signal);
}

int ChildProcess::Wait(std::chrono::milliseconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (m_pid > 0 && !m_reaped) {
    int status = 0;
    const pid_t done = waitpid(m_pid, &status, WNOHANG);
    if (done == m_pid) {
      m_reaped = true;
      return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    if (std::chrono::steady_clock::now() > deadline) return -1;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return -1;
}

}  // namespace parlavo::server::testing
