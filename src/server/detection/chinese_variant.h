#pragma once

#include <string>
#include <string_view>

namespace parlavo::server {

// Chinese text in Simplified characters (OpenCC's Traditional-to-Simplified
// conversion); characters without a Traditional form pass unchanged.
std::string ToSimplified(std::string_view utf8);

// Chinese text in Traditional characters with Taiwan's usual words
// (OpenCC's s2twp), for a zh-TW target an engine writes only Simplified.
std::string ToTraditional(std::string_view utf8);

// Whether a Chinese text is written in Traditional characters: more of them
// change when it is made Simplified than when it is made Traditional. A text
// whose characters are the same in both scripts is Simplified. Judges the
// first 16 KiB.
bool IsWrittenTraditional(std::string_view utf8);

// Loads OpenCC's conversion data now rather than on the first Chinese text,
// which would otherwise wait tens of milliseconds for it. Throws std::runtime_error.
void LoadChineseVariants();

}  // namespace parlavo::server
