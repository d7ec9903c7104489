#include "fuzz_support.h"

#include <iconv.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "net/ansi_code_page.h"
#include "text/utf8.h"

namespace parlavo::fuzz {

void Fail(const char* what, const char* condition, const char* file, int line) {
  std::fprintf(stderr, "\n==== property failed: %s\n==== check: %s (%s:%d)\n", what, condition, file, line);
  std::abort();
}

bool IsUtf8Locale() { return AnsiCharset() == "UTF-8"; }

// glibc counts the characters it had to substitute in iconv's result.
std::optional<std::string> ConvertExactly(std::string_view bytes, const std::string& from, const std::string& to) {
  const iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) Fail("iconv knows both character sets", "iconv_open", __FILE__, __LINE__);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  std::size_t result = 0;
  std::string converted;
  do {
    char buffer[4096];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    result = iconv(cd, &in, &inLeft, &out, &outLeft);
    converted.append(buffer, out);
  } while (result == static_cast<std::size_t>(-1) && errno == E2BIG);
  iconv_close(cd);
  if (result != 0) return std::nullopt;
  return converted;
}

// glibc's UTF-8 to UTF-8 is a plain copy that lets anything through, hence
// the strict check there.
bool IsValidText(std::string_view bytes) {
  return IsUtf8Locale() ? parlavo::IsValidUtf8(bytes) : ConvertExactly(bytes, AnsiCharset(), "UTF-8").has_value();
}

bool CodePageHolds(std::string_view utf8) {
  return IsUtf8Locale() || ConvertExactly(utf8, "UTF-8", AnsiCharset()).has_value();
}

std::size_t FindAtCharacterBoundary(std::string_view text, std::string_view key) {
  for (std::size_t pos = 0;;) {
    if (text.substr(pos, key.size()) == key) return pos;
    if (pos >= text.size()) return std::string_view::npos;
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text.data() + pos, text.size() - pos, &state);
    pos += length == 0 || length > text.size() - pos ? 1 : length;
  }
}

}  // namespace parlavo::fuzz

// Each target runs in the locale it was built for: the ANSI code page follows it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (std::setlocale(LC_ALL, PARLAVO_FUZZ_LOCALE) != nullptr) return 0;
  std::fprintf(stderr, "locale %s is missing on this machine (scripts/setup generates it)\n", PARLAVO_FUZZ_LOCALE);
  std::exit(1);
}
