#pragma once

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <string>

#include "net/text.h"

namespace parlavo {

// libcurl refuses to build a request of 1 MiB or more; the address is most
// of it. A longer address is refused with InternetError.
inline constexpr std::size_t MAX_ADDRESS_BYTES = 1024 * 1024 - 16 * 1024;

// A request that could not be completed: host unreachable, refused, timed
// out, reset, too large, too many redirects. what() is Chinese UTF-8 text
// that begins with "网络错误：" and names the host.
class InternetError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Without limits a silent server would freeze the window for ever and an
// endless reply would eat all memory.
struct FetchLimits {
  std::chrono::milliseconds connectTimeout{std::chrono::seconds(60)};
  // The transfer is aborted when not a single byte arrives for this long
  // (checked about once a second while nothing arrives).
  std::chrono::milliseconds stallTimeout{std::chrono::seconds(60)};
  std::size_t maxBodyBytes = 16u * 1024 * 1024;
};

// GET of the exact address; all lines of the reply body, line endings
// removed and nothing put between them. An address that cannot be opened at
// all (unsupported scheme, malformed) gives an empty Text.
Text FetchUrlText(Text url, const FetchLimits& limits = {});

// The first body line that contains `key` (searched over whole characters);
// the transfer stops right there. Empty key or address: no request at all.
Text FetchMatchingLine(Text url, Text key, const FetchLimits& limits = {});

}  // namespace parlavo
