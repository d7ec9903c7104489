#include "platform/own_names.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <unistd.h>

#include <climits>
#include <string>

#include "text/ascii.h"

namespace parlavo::server {

namespace {

bool IsHostName(std::string_view name) {
  char buffer[HOST_NAME_MAX + 1] = {};
  if (gethostname(buffer, sizeof buffer - 1) != 0 || !*buffer) return false;
  const std::string own = ToLowerAscii(buffer);
  return name == own || name == own.substr(0, own.find('.')) + ".local";
}

bool IsInterfaceAddress(std::string_view name) {
  ifaddrs* interfaces = nullptr;
  if (getifaddrs(&interfaces) != 0) return false;
  bool found = false;
  for (const ifaddrs* entry = interfaces; entry && !found; entry = entry->ifa_next) {
    if (!entry->ifa_addr) continue;
    char text[INET6_ADDRSTRLEN] = {};
    const int family = entry->ifa_addr->sa_family;
    if (family == AF_INET) {
      inet_ntop(AF_INET, &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr, text, sizeof text);
    } else if (family == AF_INET6) {
      inet_ntop(AF_INET6, &reinterpret_cast<const sockaddr_in6*>(entry->ifa_addr)->sin6_addr, text, sizeof text);
    }
    found = *text && name == text;
  }
  freeifaddrs(interfaces);
  return found;
}

}  // namespace

bool NamesThisMachine(std::string_view hostName) {
  return !hostName.empty() && (IsHostName(hostName) || IsInterfaceAddress(hostName));
}

}  // namespace parlavo::server
