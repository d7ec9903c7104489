#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "net/text.h"

namespace parlavo {

// Reads the JSON string value that starts at `start` (just after its opening
// quote) in an ANSI-code-page `body`, up to the unescaped closing quote.
// Escapes are decoded into the ANSI code page; a broken escape is kept as it
// stands. No closing quote: no value.
std::optional<Text> ReadJsonString(std::string_view body, std::size_t start);

}  // namespace parlavo
