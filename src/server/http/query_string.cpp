#include "http/query_string.h"

namespace parlavo::server {

std::optional<std::map<std::string, std::string>> ParseQuery(std::string_view query) {
  std::map<std::string, std::string> parameters;
  while (!query.empty()) {
    const auto end = query.find('&');
    const std::string_view pair = query.substr(0, end);
    if (!pair.empty()) {
      const auto equals = pair.find('=');
      auto name = PercentDecode(pair.substr(0, equals));
      auto value = PercentDecode(equals == std::string_view::npos ? std::string_view() : pair.substr(equals + 1));
      if (!name || !value) return std::nullopt;
      parameters.try_emplace(std::move(*name), std::move(*value));
    }
    if (end == std::string_view::npos) break;
    query.remove_prefix(end + 1);
  }
  return parameters;
}

}  // namespace parlavo::server
