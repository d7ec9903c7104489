#pragma once

#include <string>

namespace parlavo {

// localhost, 127.0.0.0/8 and [::1] (a host as an address's authority writes
// it): this machine, which no proxy can reach for us.
bool IsLoopbackHost(const std::string& host);

}  // namespace parlavo
