#pragma once

#include <stdexcept>
#include <vector>

#include "net/text.h"
#include "net/web_fetch.h"

namespace parlavo {

// The service answered, but not with a translation (its error reply).
// what() is Chinese UTF-8 text that begins with "翻译失败：".
class ServiceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct LanguageEntry {
  Text name;  // as the target list shows it
  Text code;  // the service's code
};

using LanguageTable = std::vector<LanguageEntry>;

struct LanguagePair {
  Text source;
  Text target;
};

// host[:port] of the translation service. Defined apart from the client
// (service_host.cpp), so that tests can link a host of their own.
extern const char* const SERVICE_HOST;

// Appends "中文" -> "zh" and "英文" -> "en" (names in the ANSI code page).
void FillLanguageTable(LanguageTable& table);

Text LookupLanguageCode(const LanguageTable& table, Text name);

// Replaces `body` by the string value written as "key":"value" right after
// the first occurrence of `key`, JSON escapes decoded. Empty when the key is
// missing or the value has no closing quote.
void ExtractField(Text& body, Text key);

// Service code of the language of `text`, or empty.
Text DetectLanguage(Text text, const FetchLimits& limits = {});

// Raw UTF-8 body of the translate request. A code that is not a plain
// language code (1-12 of A-Z a-z 0-9 -) is sent as empty.
Text TranslateText(Text text, Text source, Text target, const FetchLimits& limits = {});

LanguagePair ResolveLanguagePair(const LanguageTable& table, Text text, Text targetName,
                                 const FetchLimits& limits = {});

// What the Translate button does: detect, then translate; the translation in
// the ANSI code page. An empty reply gives an empty Text; a reply without a
// translation throws ServiceError.
Text TranslateForDisplay(const LanguageTable& table, Text text, Text targetName,
                         const FetchLimits& limits = {});

}  // namespace parlavo
