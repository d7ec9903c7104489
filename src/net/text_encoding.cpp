#include "net/text_encoding.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>
#include <string_view>

#include "net/ansi_code_page.h"
#include "text/percent_coding.h"
#include "text/utf8.h"

namespace parlavo {

namespace {

// UTF-32 is the intermediate form of both
// directions: decoding there is where invalid bytes are found, encoding from
// there is where unrepresentable characters are found.
constexpr const char* kWide = "UTF-32LE";

class Converter {
 public:
  Converter(const std::string& to, const std::string& from) : m_cd(iconv_open(to.c_str(), from.c_str())) {
    if (m_cd == reinterpret_cast<iconv_t>(-1))
      throw std::runtime_error("无法转换字符集 " + from + " → " + to);
  }
  ~Converter() { iconv_close(m_cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible; stops at the first problem. Returns errno
  // of that problem, or 0 when everything was converted.
  int Run(const char*& in, std::size_t& inLeft, std::string& out) {
    char buffer[16384];
    for (;;) {
      char* outPtr = buffer;
      std::size_t outLeft = sizeof buffer;
      char* inPtr = const_cast<char*>(in);
      const std::size_t result = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
      const int error = result == static_cast<std::size_t>(-1) ? errno : 0;
      in = inPtr;
      out.append(buffer, outPtr);
      if (error != E2BIG) return error;
    }
  }

  void Reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

 private:
  iconv_t m_cd;
};

void AppendWide(std::string& wide, char32_t c) {
  for (int shift = 0; shift < 32; shift += 8) wide.push_back(static_cast<char>((c >> shift) & 0xFF));
}

// Bytes in `charset` -> UTF-32LE; each invalid or truncated sequence becomes
// one U+FFFD and decoding goes on with the next byte.
std::string Decode(std::string_view text, const std::string& charset) {
  Converter converter(kWide, charset);
  std::string wide;
  wide.reserve(text.size() * 4);
  const char* in = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    const int error = converter.Run(in, left, wide);
    if (error == 0) break;
    if (error != EILSEQ && error != EINVAL) throw std::runtime_error("字符集转换失败");
    AppendWide(wide, kReplacementCharacter);
    ++in;
    --left;
    converter.Reset();
  }
  return wide;
}

// UTF-32LE -> `charset`; a character the charset lacks becomes its
// transliteration where iconv has one, otherwise U+FFFD's form in the
// charset, otherwise '?'.
std::string Encode(std::string_view wide, const std::string& charset) {
  Converter converter(charset + "//TRANSLIT", kWide);
  Converter strict(charset, kWide);
  std::string out;
  out.reserve(wide.size() / 2);
  const char* in = wide.data();
  std::size_t left = wide.size();
  while (left >= 4) {
    const int error = converter.Run(in, left, out);
    if (error == 0) break;
    if (error != EILSEQ && error != EINVAL) throw std::runtime_error("字符集转换失败");
    const bool isReplacement = static_cast<unsigned char>(in[0]) == 0xFD &&
                               static_cast<unsigned char>(in[1]) == 0xFF && in[2] == 0 && in[3] == 0;
    std::string substitute = "?";
    if (isReplacement) {
      const char* one = in;
      std::size_t oneLeft = 4;
      std::string encoded;
      if (strict.Run(one, oneLeft, encoded) == 0) substitute = encoded;
      strict.Reset();
    }
    out += substitute;
    in += 4;
    left -= 4;
    converter.Reset();
  }
  return out;
}

bool IsUtf8(const std::string& charset) { return charset == "UTF-8"; }

void Convert(Text& text, const std::string& from, const std::string& to) {
  if (text.empty()) return;
  // Valid UTF-8 into UTF-8 is already what it would become.
  if (IsUtf8(from) && IsUtf8(to) && IsValidUtf8(text)) return;
  text = Encode(Decode(text, from), to);
}

}  // namespace

void AnsiToUtf8(Text& text) { Convert(text, AnsiCharset(), "UTF-8"); }

void Utf8ToAnsi(Text& text) { Convert(text, "UTF-8", AnsiCharset()); }

Text UrlEncode(const Text& text) {
  if (text.empty()) return {};
  Text converted;
  const Text* utf8 = &text;
  if (!IsUtf8(AnsiCharset()) || !IsValidUtf8(text)) {
    converted = text;
    AnsiToUtf8(converted);
    utf8 = &converted;
  }
  return PercentEncodeEveryByte(*utf8);
}

}  // namespace parlavo
