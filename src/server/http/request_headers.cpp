#include "http/request_headers.h"

#include "text/ascii.h"

namespace parlavo::server {

namespace {

// RFC 9110 section 5.6.2: tchar.
bool IsToken(std::string_view name) {
  constexpr std::string_view kSymbols = "!#$%&'*+-.^_`|~";
  if (name.empty()) return false;
  for (const char c : name) {
    if (!IsAsciiAlphanumeric(c) && kSymbols.find(c) == std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

void RecordHeader(ServiceRequest& request, std::string_view name, std::string_view value) {
  const std::string lower = ToLowerAscii(name);
  if (lower == "host") {
    request.hostHeaders.emplace_back(value);
  } else if (lower == "origin") {
    request.origins.emplace_back(value);
  } else if (lower == "sec-fetch-site") {
    request.fetchSites.emplace_back(value);
  }
  if (lower.starts_with("content-length")) {
    // "0" may be all the library shows of "0<NUL>5": a body may follow.
    request.mentionsContentLength = true;
    if (lower != "content-length" || value != "0") request.hasBody = true;
  }
  if (lower.starts_with("transfer-encoding") || !IsToken(name)) request.hasBody = true;
}

}  // namespace parlavo::server
