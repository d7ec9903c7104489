#include "http/request_target.h"

#include "engines/language_codes.h"

namespace parlavo::server {

std::optional<RequestTarget> ParseRequestTarget(std::string_view target) {
  RequestTarget parsed;
  const std::string lower = ToLowerAscii(target.substr(0, 7));
  if (lower == "http://") {
    target.remove_prefix(7);
    const auto pathStart = target.find_first_of("/?");
    parsed.authority = target.substr(0, pathStart);
    if (parsed.authority.empty()) return std::nullopt;
    target = pathStart == std::string_view::npos ? std::string_view() : target.substr(pathStart);
    if (target.empty() || target.front() == '?') parsed.path = "/";
  } else if (target.empty() || target.front() != '/') {
    return std::nullopt;
  }
  const auto queryStart = target.find('?');
  parsed.path += target.substr(0, queryStart);
  if (queryStart != std::string_view::npos) parsed.query = target.substr(queryStart + 1);
  return parsed;
}

std::string HostName(std::string_view authority) {
  if (const auto at = authority.rfind('@'); at != std::string_view::npos) authority.remove_prefix(at + 1);
  if (authority.starts_with('[')) {
    const auto close = authority.find(']');
    return ToLowerAscii(authority.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  }
  return ToLowerAscii(authority.substr(0, authority.find(':')));
}

bool IsAllowedHost(std::string_view hostName, std::string_view listenHost) {
  return !hostName.empty() && (hostName == "localhost" || hostName == ToLowerAscii(listenHost));
}

}  // namespace parlavo::server
