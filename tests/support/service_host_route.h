#pragma once

#include <string>

namespace parlavo::testing {

// The tests' translation service is "translate.test", reached through
// ProxyRoute; this points the client at `url` ("http://host:port") instead.
class ServiceHostRoute {
 public:
  explicit ServiceHostRoute(const std::string& url);
  ~ServiceHostRoute();
  ServiceHostRoute(const ServiceHostRoute&) = delete;
  ServiceHostRoute& operator=(const ServiceHostRoute&) = delete;

 private:
  std::string m_previous;
};

}  // namespace parlavo::testing
