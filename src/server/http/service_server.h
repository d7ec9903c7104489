#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <string>

#include "engines/translation_engine.h"

struct MHD_Daemon;

namespace parlavo::server {

class ConnectionDeadlines;
class MemoryBudget;
class RequestHandler;

// What one client, or many, can take from the service. Together, at most
// some 512 MB: the process itself (some 30 MB), every connection's buffer
// full (128 x 3.125 MiB = 400 MiB), engines and unread replies (64 MiB).
struct ServerLimits {
  // Request line and headers of one connection, with libmicrohttpd's own
  // bookkeeping: room for a 1 MiB text with every byte percent-encoded
  // (3 MiB) and the rest of the request.
  std::size_t connectionMemory = 3 * 1024 * 1024 + 128 * 1024;
  // Connections open at once, each with a thread of its own; more wait in
  // the listen queue until one of these closes (idle, or past its deadline).
  unsigned connections = 128;
  // Connections kept open after a reply; the others are closed after it.
  // libmicrohttpd clears a connection's whole buffer for its next request,
  // so each one kept costs its full 3.125 MiB while it waits.
  unsigned keptAlive = 24;
  // The engines' work and the replies not yet read; a request that does not
  // fit gets 503.
  std::size_t workMemory = 64 * 1024 * 1024;
  // A connection with no traffic for this long is closed.
  unsigned idleSeconds = 5;
  // One request must arrive, and its reply go out, within this time,
  // however slowly its bytes trickle in.
  std::chrono::seconds requestTime{10};
};

// The HTTP side of the service on libmicrohttpd: requests go to
// RequestHandler, its replies go out with the headers every reply carries.
class ServiceServer {
 public:
  explicit ServiceServer(TranslationEngine& engine, ServerLimits limits = {});
  ~ServiceServer();
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // Serves on HOST:PORT (port 0: one the system picks) and returns the port.
  // Throws std::runtime_error with a Chinese message.
  int Serve(const std::string& host, int port);
  // Serves on a socket that is already bound and listening (from systemd).
  void Adopt(int socket);
  // Closes every connection and stops serving; the destructor does it too.
  void Stop();

  // The address requests must name as their host (besides "localhost").
  const std::string& listenHost() const { return m_listenHost; }
  // Whether other machines can reach the service.
  bool reachableFromNetwork() const { return m_reachableFromNetwork; }

 private:
  struct Callbacks;
  struct ConnectionState;

  // Whether the connection may stay open after its reply.
  bool KeepsAlive(ConnectionState& connection);

  TranslationEngine& m_engine;
  const ServerLimits m_limits;
  std::unique_ptr<MemoryBudget> m_budget;
  std::unique_ptr<RequestHandler> m_handler;
  std::unique_ptr<ConnectionDeadlines> m_deadlines;
  std::atomic<unsigned> m_keptAlive = 0;
  MHD_Daemon* m_daemon = nullptr;
  std::string m_listenHost;
  bool m_reachableFromNetwork = false;
};

}  // namespace parlavo::server
