#pragma once

#include <string_view>

#include "http/request_handler.h"

namespace parlavo::server {

// Adds one header, as libmicrohttpd handed it over, to what `request`
// records. The library reads a few malformed framing headers its own way
// ("Content-Length : 5" becomes the name "Content-Length ", an obs-fold is
// glued onto the name), and then reads the body as the next request; so any
// name that is not a token, or that only begins with Content-Length or
// Transfer-Encoding, is taken for a body as well.
void RecordHeader(ServiceRequest& request, std::string_view name, std::string_view value);

}  // namespace parlavo::server
