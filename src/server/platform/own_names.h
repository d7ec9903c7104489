#pragma once

#include <string_view>

namespace parlavo::server {

// Whether `hostName` (lower case, no port or brackets) names this machine:
// its host name, that name under ".local" (mDNS), or an address of one of
// its interfaces as it is now.
bool NamesThisMachine(std::string_view hostName);

}  // namespace parlavo::server
