#pragma once

#include <optional>
#include <string>

namespace parlavo::server {

// The proxy to reach `url` through, as libcurl takes it: "" for a direct
// connection (always so for this machine's own addresses), nullopt when the
// desktop's settings cannot be read (libcurl then follows http_proxy and the
// like itself). Follows what libproxy finds: GNOME's or KDE's settings
// (with libproxy's plugins for them), a PAC file, the environment.
std::optional<std::string> DesktopProxyFor(const std::string& url, const std::string& host);

}  // namespace parlavo::server
