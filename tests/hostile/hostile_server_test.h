#pragma once

#include <gtest/gtest.h>

#include <memory>

#include "hostile_support.h"
#include "loopback_server.h"

namespace parlavo::hostile {

// A loopback server that the client's fixed hosts are routed to, with a gate
// that misbehaving handlers wait on; the gate opens when the test ends.
class HostileServerTest : public ::testing::Test {
 protected:
  ~HostileServerTest() override { m_gate->Open(); }

  httplib::Server& server() { return m_server.server(); }
  void Start() {
    m_server.Start();
    m_route = std::make_unique<testing::ProxyRoute>(m_server);
  }

  testing::LoopbackServer m_server;
  std::shared_ptr<Gate> m_gate = std::make_shared<Gate>();
  std::unique_ptr<testing::ProxyRoute> m_route;
};

// Any address on a host that only the proxy route can reach.
inline constexpr const char* kHost = "parlavo-hostile.invalid";
inline std::string AddressOn(const char* path) { return std::string("http://") + kHost + path; }

}  // namespace parlavo::hostile
