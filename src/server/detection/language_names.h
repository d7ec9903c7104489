#pragma once

#include <string>
#include <string_view>

namespace parlavo::server {

// A language as a message shows it to a user: its Chinese name with the code
// in brackets ("斯瓦希里语（sw）"), or the bare code where the name is not
// known. Knows every language CLD2 detects, by CLD2's codes ("iw", "jw") and
// today's ("he", "jv"); case does not matter, the code shows as given.
std::string LanguageForMessage(std::string_view code);

}  // namespace parlavo::server
