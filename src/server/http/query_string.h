#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "text/percent_coding.h"

namespace parlavo::server {

// name -> value of a query string; the first of repeated names counts.
// nullopt when a name or value holds a malformed escape.
std::optional<std::map<std::string, std::string>> ParseQuery(std::string_view query);

}  // namespace parlavo::server
