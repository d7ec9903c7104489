#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct MHD_Daemon;

namespace parlavo::hostile {

// An HTTP server on 127.0.0.1 (ephemeral port) for requests whose address
// is far longer than cpp-httplib takes: Debian's build of it answers 414
// beyond 8 KiB of request line. libmicrohttpd reads request lines up to its
// per-connection memory, which is set here well above a 100 000-character
// text's address.
class LongRequestServer {
 public:
  // Gives the reply body (sent with status 200) for a request target as it
  // stood on the request line.
  using Handler = std::function<std::string(const std::string& target)>;

  explicit LongRequestServer(Handler handler);
  ~LongRequestServer();
  LongRequestServer(const LongRequestServer&) = delete;
  LongRequestServer& operator=(const LongRequestServer&) = delete;

  std::string Url() const;  // "http://127.0.0.1:PORT"
  std::vector<std::string> Targets() const;

  // Called by libmicrohttpd's thread.
  std::string Answer(const std::string& target);

 private:
  Handler m_handler;
  MHD_Daemon* m_daemon = nullptr;
  int m_port = 0;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_targets;
};

}  // namespace parlavo::hostile
