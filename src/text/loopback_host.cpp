#include "text/loopback_host.h"

#include <arpa/inet.h>
#include <strings.h>

namespace parlavo {

bool IsLoopbackHost(const std::string& host) {
  if (strcasecmp(host.c_str(), "localhost") == 0) return true;
  in_addr v4{};
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  if (host.size() > 2 && host.front() == '[' && host.back() == ']') {
    in6_addr v6{};
    return inet_pton(AF_INET6, host.substr(1, host.size() - 2).c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
  }
  return false;
}

}  // namespace parlavo
