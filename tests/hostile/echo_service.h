#pragma once

#include <string>

namespace parlavo::hostile {

// The value of query parameter `name` in a request target (not the first
// parameter), still percent-encoded.
std::string QueryValue(const std::string& target, const std::string& name);

// Strict: anything but "%hh" triples gives an empty result.
std::string PercentDecoded(const std::string& encoded);

// Replies of a service that detects every text as Chinese and "translates"
// it into itself, so that what the client shows can be compared with what it
// sent.
std::string EchoService(const std::string& target);

}  // namespace parlavo::hostile
