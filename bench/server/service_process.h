#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// The real parlavo-service as a child process, and raw loopback connections
// to it: what the service's measuring programs share.
namespace parlavo::bench {

// A socket bound to a port of 127.0.0.1 the system picks, not listening.
int BoundLoopbackSocket(int& port);
// A loopback port nobody listens on now.
int FreePort();
// A connection to 127.0.0.1:port; -1 if refused.
int Connect(int port);
void SendAll(int connection, const std::string& bytes);
// One request on its own connection; the whole reply.
std::string Exchange(int port, const std::string& request);
// GET /ajax/services/language/QUERY with Host 127.0.0.1 and Connection: close.
std::string Request(const std::string& query);
// Chinese sentences, every byte percent-encoded, of about `bytes` UTF-8 bytes.
std::string EncodedChinese(std::size_t bytes);
// The address of an upstream on a port of 127.0.0.1 that answers every
// request with `body` (a hostile one, say) once it has read the request.
// Runs until the program ends.
std::string StartUpstream(std::string body);
// A field of /proc/PID/status in kB ("VmRSS:", "VmHWM:").
long StatusKilobytes(pid_t pid, const std::string& field);
double Megabytes(long kilobytes);

class ServiceProcess {
 public:
  // Starts `executable --listen 127.0.0.1:PORT ARGUMENTS...` and waits until
  // it answers a detect request.
  ServiceProcess(const std::string& executable, const std::vector<std::string>& arguments);
  ~ServiceProcess();
  bool answering() const { return m_answering; }
  int port() const { return m_port; }
  pid_t pid() const { return m_pid; }
  double startMilliseconds() const { return m_startMilliseconds; }
  // Sends SIGTERM; whether it exited with status 0.
  bool Stop();

 private:
  int m_port;
  pid_t m_pid;
  bool m_answering = false;
  bool m_stopped = false;
  double m_startMilliseconds = 0;
};

}  // namespace parlavo::bench
