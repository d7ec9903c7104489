#pragma once

#include <stdexcept>
#include <string>
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

// The longest text, in UTF-8 bytes, that one request carries: every byte
// goes percent-encoded into the address, after at most 512 bytes of the rest.
inline constexpr std::size_t MAX_TEXT_BYTES = (MAX_ADDRESS_BYTES - 512) / 3;

struct LanguageEntry {
  Text name;  // as the target list shows it
  Text code;  // the service's code
};

using LanguageTable = std::vector<LanguageEntry>;

struct LanguagePair {
  Text source;
  Text target;
};

// A translation and what the service said about it.
struct Translation {
  Text text;            // in the ANSI code page
  LanguagePair pair;    // the codes the request carried
  std::string engine;   // the engine that answered (UTF-8), empty if not named
  std::string details;  // why that engine was not the first (UTF-8), or empty
};

// host[:port] of the translation service. Defined apart from the client
// (service_host.cpp), so that tests can link a host of their own.
extern const char* const SERVICE_HOST;

// Appends "中文" -> "zh" and "英文" -> "en" (names in the ANSI code page).
void FillLanguageTable(LanguageTable& table);

Text LookupLanguageCode(const LanguageTable& table, Text name);

// Whether the code `source` names a form of `language`: "zh-TW" of "zh".
bool IsInLanguage(const Text& source, const Text& language);

// Replaces `body` by the string value written as "key":"value" right after
// the first occurrence of `key`, JSON escapes decoded. Empty when the key is
// missing or the value has no closing quote.
void ExtractField(Text& body, Text key);

// Service code of the language of `text`, or empty.
Text DetectLanguage(Text text, const FetchLimits& limits = {});

// Raw UTF-8 body of the translate request. A code that is not a plain
// language code (1-12 of A-Z a-z 0-9 -) is sent as empty.
Text TranslateText(Text text, Text source, Text target, const FetchLimits& limits = {});

// Detects, then takes the chosen target; text already in the target's
// language goes to the other language of the table instead.
LanguagePair ResolveLanguagePair(const LanguageTable& table, Text text, Text targetName,
                                 const FetchLimits& limits = {});

// What the Translate button does: detect, then translate. An empty reply
// gives an empty translation; a reply without one throws ServiceError.
Translation Translate(const LanguageTable& table, Text text, Text targetName, const FetchLimits& limits = {});

// Translate's text alone.
Text TranslateForDisplay(const LanguageTable& table, Text text, Text targetName,
                         const FetchLimits& limits = {});

}  // namespace parlavo
