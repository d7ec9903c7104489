#pragma once

#include <memory>
#include <string>

#include "engines/translation_engine.h"

namespace parlavo::server {

class RequestHandler;

// The HTTP side of the service on cpp-httplib: a pool of worker threads, time
// limits so that a client that stalls holds one worker for a few seconds at
// most, and every request handed to RequestHandler.
class ServiceServer {
 public:
  static constexpr int kWorkerThreads = 32;
  static constexpr int kReadTimeoutSeconds = 5;
  static constexpr int kKeepAliveTimeoutSeconds = 2;
  static constexpr int kKeepAliveMaxRequests = 1000;

  explicit ServiceServer(TranslationEngine& engine);
  ~ServiceServer();
  ServiceServer(const ServiceServer&) = delete;
  ServiceServer& operator=(const ServiceServer&) = delete;

  // Binds HOST:PORT (port 0: one the system picks) and returns the port.
  // Throws std::runtime_error with a Chinese message.
  int Bind(const std::string& host, int port);
  // Serves on a socket that is already bound and listening (from systemd).
  void Adopt(int socket);

  // Serves until Stop(); false when the listening socket failed.
  bool Run();
  void Stop();
  bool IsRunning() const;

  // The address requests must name as their host (besides "localhost").
  const std::string& listenHost() const { return m_listenHost; }

 private:
  class Server;
  void Configure();

  TranslationEngine& m_engine;
  std::unique_ptr<Server> m_server;
  std::unique_ptr<RequestHandler> m_handler;
  std::string m_listenHost;
};

}  // namespace parlavo::server
