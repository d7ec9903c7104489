#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace parlavo::server {

// Decodes %XX escapes and '+' as a blank; nullopt for a malformed escape.
std::optional<std::string> PercentDecode(std::string_view text);

// name -> value of a query string; the first of repeated names counts.
// nullopt when a name or value holds a malformed escape.
std::optional<std::map<std::string, std::string>> ParseQuery(std::string_view query);

}  // namespace parlavo::server
