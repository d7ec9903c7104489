#pragma once

#include <string>

#include "services/translation_client.h"

namespace parlavo {

// What the window's status line says of a translation, in UTF-8: the engine
// and the direction, "微软翻译：英文 → 中文"; an engine that was not the first
// adds why, "离线词典（在线翻译均无法连接）：英文 → 中文".
std::string DescribeTranslation(const LanguageTable& table, const Translation& translation);

}  // namespace parlavo
