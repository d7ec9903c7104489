#include "net/ansi_code_page.h"

#include <langinfo.h>

#include <cstdlib>
#include <cwchar>
#include <string_view>

namespace parlavo {

namespace {

bool IsUtf8Name(std::string_view name) {
  return name == "UTF-8" || name == "utf8" || name == "UTF8" || name == "utf-8";
}

// In UTF-8 and single-byte charsets every byte that can start a valid key
// also starts a character, so a plain byte search is already correct there.
bool BytesAreCharacters() {
  static thread_local std::string cachedCharset;
  static thread_local bool cachedAnswer = true;
  const char* codeset = nl_langinfo(CODESET);
  if (cachedCharset != codeset) {
    cachedCharset = codeset;
    cachedAnswer = MB_CUR_MAX == 1 || IsUtf8Name(cachedCharset);
  }
  return cachedAnswer;
}

}  // namespace

std::string AnsiCharset() {
  std::string charset = nl_langinfo(CODESET);
  // The C/POSIX locale reports plain ASCII; Text there is UTF-8.
  if (charset.empty() || charset == "ANSI_X3.4-1968" || charset == "ASCII" || charset == "US-ASCII")
    return "UTF-8";
  return charset;
}

std::size_t CharLengthAt(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  if (lead < 0x80) return 1;
  std::mbstate_t state{};
  const std::size_t length = std::mbrlen(text.data() + pos, text.size() - pos, &state);
  if (length == static_cast<std::size_t>(-1) || length == static_cast<std::size_t>(-2) || length == 0)
    return 1;
  return length;
}

std::size_t Find(std::string_view text, std::string_view key, std::size_t from) {
  if (BytesAreCharacters()) return text.find(key, from);
  std::size_t boundary = from;
  for (;;) {
    const std::size_t candidate = text.find(key, boundary);
    if (candidate == std::string_view::npos) return Text::npos;
    while (boundary < candidate) boundary += CharLengthAt(text, boundary);
    if (boundary == candidate) return candidate;
  }
}

}  // namespace parlavo
