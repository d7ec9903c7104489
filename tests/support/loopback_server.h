#pragma once

#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "service_host_route.h"

namespace parlavo::testing {

// An HTTP server of the test's own on 127.0.0.1, on a port the system picks.
// Register handlers on server() before Start(). The client's hosts are fixed
// at build time, so tests reach this server as their proxy (see ProxyRoute):
// request targets then arrive in absolute form ("http://host/path?query").
class LoopbackServer {
 public:
  LoopbackServer();
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  httplib::Server& server() { return m_server; }
  void Start();
  int port() const { return m_port; }
  std::string Url() const;  // "http://127.0.0.1:PORT"

  // Every request target received, in order, exactly as on the request line.
  std::vector<std::string> Targets() const;

 private:
  httplib::Server m_server;
  int m_port = 0;
  std::thread m_thread;
  mutable std::mutex m_mutex;
  std::vector<std::string> m_targets;
};

// A proxy address on 127.0.0.1 that refuses every connection: a port a
// loopback server had and gave back.
std::string RefusingProxyUrl();

// Routes the client's plain-HTTP requests through `proxyUrl` for the
// lifetime of the object, restoring the environment afterwards.
class ProxyRoute {
 public:
  explicit ProxyRoute(const std::string& proxyUrl);
  explicit ProxyRoute(const LoopbackServer& server) : ProxyRoute(server.Url()) {}
  ~ProxyRoute();
  ProxyRoute(const ProxyRoute&) = delete;
  ProxyRoute& operator=(const ProxyRoute&) = delete;

 private:
  struct Saved {
    std::string name;
    bool wasSet;
    std::string value;
  };
  std::vector<Saved> m_saved;
};

// Sets the C library's locale for the test's duration; fails the test with
// the locale's name when the machine lacks it.
class ScopedLocale {
 public:
  explicit ScopedLocale(const char* name);
  ~ScopedLocale();
  ScopedLocale(const ScopedLocale&) = delete;
  ScopedLocale& operator=(const ScopedLocale&) = delete;
  bool ok() const { return m_ok; }

 private:
  std::string m_previous;
  bool m_ok = false;
};

}  // namespace parlavo::testing
