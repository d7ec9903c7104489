#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace parlavo::server {

// The forms to look a lower-case English word up by, most likely first: the
// dictionary form of a common irregular verb or noun, the word itself, then
// what a plural, -ed or -ing ending may come from ("cities" -> "city",
// "stopped" -> "stop", "making" -> "make").
std::vector<std::string> LookupForms(std::string_view lowerWord);

}  // namespace parlavo::server
