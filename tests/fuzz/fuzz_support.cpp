#include "fuzz_support.h"

#include <iconv.h>

#include <cerrno>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "net/ansi_code_page.h"

namespace parlavo::fuzz {

void Fail(const char* what, const char* condition, const char* file, int line) {
  std::fprintf(stderr, "\n==== property failed: %s\n==== check: %s (%s:%d)\n", what, condition, file, line);
  std::abort();
}

bool IsValidUtf8(std::string_view bytes) {
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const auto lead = static_cast<unsigned char>(bytes[pos]);
    std::size_t length = 0;
    char32_t c = 0;
    if (lead < 0x80) {
      ++pos;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
      c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      c = lead & 0x07;
    } else {
      return false;
    }
    if (pos + length > bytes.size()) return false;
    for (std::size_t i = 1; i < length; ++i) {
      const auto trail = static_cast<unsigned char>(bytes[pos + i]);
      if ((trail & 0xC0) != 0x80) return false;
      c = (c << 6) | (trail & 0x3F);
    }
    const char32_t shortest = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (c < shortest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
    pos += length;
  }
  return true;
}

namespace {

// Whether iconv converts all of `bytes` without a single substitution.
bool ConvertsExactly(std::string_view bytes, const std::string& from, const std::string& to) {
  const iconv_t cd = iconv_open(to.c_str(), from.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) Fail("iconv knows both character sets", "iconv_open", __FILE__, __LINE__);
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  bool exact = true;
  while (inLeft > 0) {
    char buffer[4096];
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
    // glibc counts characters it had to substitute in the result.
    if (result == static_cast<std::size_t>(-1) ? errno != E2BIG : result != 0) {
      exact = false;
      break;
    }
  }
  iconv_close(cd);
  return exact;
}

bool IsUtf8Locale() { return parlavo::AnsiCharset() == "UTF-8"; }

}  // namespace

// glibc's UTF-8 to UTF-8 is a plain copy that lets anything through, hence
// the own check there.
bool IsValidText(std::string_view bytes) {
  return IsUtf8Locale() ? IsValidUtf8(bytes) : ConvertsExactly(bytes, parlavo::AnsiCharset(), "UTF-32LE");
}

bool CodePageHolds(std::string_view utf8) {
  return IsUtf8Locale() || ConvertsExactly(utf8, "UTF-8", parlavo::AnsiCharset());
}

std::size_t FindAtCharacterBoundary(std::string_view text, std::string_view key) {
  std::size_t pos = 0;
  for (;;) {
    if (text.substr(pos, key.size()) == key) return pos;
    if (pos >= text.size()) return std::string_view::npos;
    std::mbstate_t state{};
    const std::size_t length = std::mbrlen(text.data() + pos, text.size() - pos, &state);
    pos += length == 0 || length > text.size() - pos ? 1 : length;
  }
}

}  // namespace parlavo::fuzz

// Every target runs in the locale it was built for (PARLAVO_FUZZ_LOCALE): the
// ANSI code page follows it.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  if (std::setlocale(LC_ALL, PARLAVO_FUZZ_LOCALE) == nullptr) {
    std::fprintf(stderr, "locale %s is missing on this machine (generate it with localedef)\n", PARLAVO_FUZZ_LOCALE);
    std::exit(1);
  }
  return 0;
}
