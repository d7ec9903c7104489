#include "engines/desktop_proxy.h"

#include <proxy.h>

#include <array>
#include <memory>
#include <string_view>

#include "text/loopback_host.h"

namespace parlavo::server {

namespace {

struct ProxiesDeleter {
  void operator()(char** proxies) const { px_proxy_factory_free_proxies(proxies); }
};

// Created on the first address that needs it, so that a service that never
// goes online never loads libproxy's plugins. libproxy's lookups are
// thread-safe and it caches what it read.
pxProxyFactory* Factory() {
  static pxProxyFactory* const factory = px_proxy_factory_new();
  return factory;
}

// libproxy's answer as libcurl reads it: "socks://" means SOCKS 5 first.
std::optional<std::string> ForCurl(std::string_view proxy) {
  if (proxy == "direct://") return std::string();
  if (proxy.starts_with("socks://")) return "socks5://" + std::string(proxy.substr(8));
  for (std::string_view scheme : std::array<std::string_view, 5>{"http://", "https://", "socks4://", "socks4a://",
                                                                  "socks5://"}) {
    if (proxy.starts_with(scheme)) return std::string(proxy);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> DesktopProxyFor(const std::string& url, const std::string& host) {
  if (IsLoopbackHost(host)) return std::string();
  pxProxyFactory* factory = Factory();
  if (!factory) return std::nullopt;
  const std::unique_ptr<char*, ProxiesDeleter> proxies(px_proxy_factory_get_proxies(factory, url.c_str()));
  if (!proxies) return std::nullopt;
  // The first one libcurl can use; libproxy lists them best first.
  for (char** proxy = proxies.get(); *proxy; ++proxy) {
    if (auto usable = ForCurl(*proxy)) return usable;
  }
  return std::nullopt;
}

}  // namespace parlavo::server
