#include "loopback_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <clocale>
#include <cstdlib>
#include <stdexcept>

namespace parlavo::testing {

LoopbackServer::LoopbackServer() {
  // Recorded before the handler runs, so the client cannot see the reply
  // before the request is on the list.
  m_server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    std::lock_guard lock(m_mutex);
    m_targets.push_back(request.target);
    return httplib::Server::HandlerResponse::Unhandled;
  });
}

LoopbackServer::~LoopbackServer() {
  m_server.stop();
  if (m_thread.joinable()) m_thread.join();
}

void LoopbackServer::Start() {
  m_port = m_server.bind_to_any_port("127.0.0.1");
  if (m_port <= 0) throw std::runtime_error("cannot bind a loopback port");
  m_thread = std::thread([this] { m_server.listen_after_bind(); });
  while (!m_server.is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

std::string LoopbackServer::Url() const { return "http://127.0.0.1:" + std::to_string(m_port); }

std::vector<std::string> LoopbackServer::Targets() const {
  std::lock_guard lock(m_mutex);
  return m_targets;
}

std::string RefusingProxyUrl() {
  LoopbackServer probe;
  probe.Start();
  return probe.Url();
}

ProxyRoute::ProxyRoute(const std::string& proxyUrl) {
  const char* names[] = {"http_proxy", "HTTP_PROXY", "no_proxy", "NO_PROXY", "all_proxy", "ALL_PROXY"};
  for (const char* name : names) {
    const char* value = std::getenv(name);
    m_saved.push_back({name, value != nullptr, value ? value : ""});
    unsetenv(name);
  }
  setenv("http_proxy", proxyUrl.c_str(), 1);
}

ProxyRoute::~ProxyRoute() {
  for (const Saved& saved : m_saved) {
    if (saved.wasSet)
      setenv(saved.name.c_str(), saved.value.c_str(), 1);
    else
      unsetenv(saved.name.c_str());
  }
}

ScopedLocale::ScopedLocale(const char* name) {
  m_previous = std::setlocale(LC_ALL, nullptr);
  m_ok = std::setlocale(LC_ALL, name) != nullptr;
  if (!m_ok) {
    ADD_FAILURE() << "locale " << name << " is missing on this machine (generate it with localedef)";
  }
}

ScopedLocale::~ScopedLocale() { std::setlocale(LC_ALL, m_previous.c_str()); }

}  // namespace parlavo::testing
