#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// A failed property prints what was expected and aborts, so libFuzzer saves
// the input that caused it.
#define PARLAVO_FUZZ_CHECK(condition, what) \
  ((condition) ? void(0) : ::parlavo::fuzz::Fail(what, #condition, __FILE__, __LINE__))

namespace parlavo::fuzz {

[[noreturn]] void Fail(const char* what, const char* condition, const char* file, int line);
bool IsUtf8Locale();
// `bytes` converted by iconv; nothing unless every character converts exactly.
std::optional<std::string> ConvertExactly(std::string_view bytes, const std::string& from, const std::string& to);
// Whether `bytes` is a valid Text in the locale's character set.
bool IsValidText(std::string_view bytes);
// Whether the locale's character set holds every character of `utf8`.
bool CodePageHolds(std::string_view utf8);
// Tries every character boundary in turn, the slow obvious way; the
// boundaries come from the C library's own reading of the locale.
std::size_t FindAtCharacterBoundary(std::string_view text, std::string_view key);

}  // namespace parlavo::fuzz
