#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>

namespace parlavo::server {

// An upstream that does not answer within these hands the request to the
// next engine; on a machine without network only the first request after a
// cool-down pays the connect wait, which with the fall-back's own time stays
// within 3 s.
struct UpstreamLimits {
  std::chrono::milliseconds connectTimeout{2500};  // name lookup, TCP and TLS
  std::chrono::milliseconds totalTimeout{std::chrono::seconds(10)};  // per request, so per chunk of text
  // A long text in many chunks must still be answered before the desktop
  // client gives up on the service (60 s without a byte).
  std::chrono::milliseconds wholeTextTimeout{std::chrono::seconds(40)};
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
UpstreamReply UpstreamPost(const std::string& url, std::string_view contentType, const std::string& body,
                           const UpstreamLimits& limits, std::string_view name);

// "host[:port]" of an http(s) address, as messages name the upstream.
std::string HostOf(std::string_view url);

}  // namespace parlavo::server
