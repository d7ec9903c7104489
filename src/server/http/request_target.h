#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace parlavo::server {

// A request target split up. Through a proxy it arrives in absolute form
// ("http://127.0.0.1:8765/ajax/...?..."), which HTTP/1.1 servers must accept;
// otherwise in origin form ("/ajax/...?...").
struct RequestTarget {
  std::string authority;  // empty in origin form
  std::string path;
  std::string query;
};

// nullopt for targets of neither form ("*", "host:port", "ftp://...").
std::optional<RequestTarget> ParseRequestTarget(std::string_view target);

// The host name of a Host header or authority: port, brackets and userinfo
// removed, lower case ("[::1]:8765" -> "::1", "LocalHost:80" -> "localhost").
std::string HostName(std::string_view authority);

// A web page the user visits could point a name of its own at 127.0.0.1
// (DNS rebinding) and use the service; so only the address it listens on and
// "localhost" are accepted as the name it was reached by.
bool IsAllowedHost(std::string_view hostName, std::string_view listenHost);

}  // namespace parlavo::server
