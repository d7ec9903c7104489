#pragma once

#include <cstdio>
#include <functional>
#include <string>

namespace parlavo::server {

// Where the service tells its user something (an engine paused, a key
// missing): a line without the program's prefix.
using ServiceLog = std::function<void(const std::string&)>;

// The service's own log: standard error, the journal under systemd.
inline void WriteToStandardError(const std::string& line) {
  std::fprintf(stderr, "parlavo-service：%s\n", line.c_str());
}

}  // namespace parlavo::server
