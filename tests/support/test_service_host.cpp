#include <cstdio>

#include "service_host_route.h"
#include "services/translation_client.h"

namespace parlavo {

namespace {

char g_serviceHost[64] = "translate.test";

void SetServiceHost(const std::string& host) {
  std::snprintf(g_serviceHost, sizeof g_serviceHost, "%s", host.c_str());
}

}  // namespace

const char* const SERVICE_HOST = g_serviceHost;

testing::ServiceHostRoute::ServiceHostRoute(const std::string& url) : m_previous(g_serviceHost) {
  SetServiceHost(url.starts_with("http://") ? url.substr(7) : url);
}

testing::ServiceHostRoute::~ServiceHostRoute() { SetServiceHost(m_previous); }

}  // namespace parlavo
