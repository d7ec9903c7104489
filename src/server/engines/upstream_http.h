#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace parlavo::server {

// Upstream calls must end well before the desktop client gives up on the
// service, so that it gets a reason instead of a time-out.
struct UpstreamLimits {
  std::chrono::milliseconds connectTimeout{std::chrono::seconds(5)};
  std::chrono::milliseconds totalTimeout{std::chrono::seconds(20)};
  // Aborted when slower than one byte a second for this long (whole seconds).
  std::chrono::seconds stallTimeout{10};
  std::size_t maxBodyBytes = 8u * 1024 * 1024;
};

struct UpstreamReply {
  long status = 0;
  std::string body;
};

// `name` is how messages call the upstream ("LibreTranslate"). Any HTTP
// status comes back as a reply; a transfer that cannot be completed throws
// UpstreamError saying why, in Chinese.
UpstreamReply UpstreamGet(const std::string& url, const UpstreamLimits& limits, std::string_view name);
UpstreamReply UpstreamPostJson(const std::string& url, const std::string& json, const UpstreamLimits& limits,
                               std::string_view name);

// Percent-encodes a query parameter value.
std::string EscapeQueryValue(std::string_view value);

}  // namespace parlavo::server
