#pragma once

#include <string>
#include <string_view>

#include "text/ascii.h"

namespace parlavo::server {

enum class LanguageFamily { Chinese, English, Other };

// "zh", "zh-CN", "zh-TW" -> Chinese; "en" -> English; case does not matter.
LanguageFamily FamilyOf(std::string_view code);

// "zh-TW", in any case: Chinese in Traditional characters.
bool IsTraditionalChinese(std::string_view code);

// A language code as the request may carry it: 1 to 12 of A-Z a-z 0-9 '-'.
bool IsPlainLanguageCode(std::string_view code);

}  // namespace parlavo::server
