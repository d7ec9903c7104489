#include "services/json_string.h"

#include "net/ansi_code_page.h"
#include "net/text_encoding.h"
#include "text/ascii.h"
#include "text/utf8.h"

namespace parlavo {

namespace {

// The four hex digits of a \u escape at `pos` (just after the "u"), or -1.
long ReadHex4(std::string_view body, std::size_t pos) {
  if (pos + 4 > body.size()) return -1;
  long value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const int digit = HexDigitValue(body[pos + i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

// Decodes the \u escape (or surrogate pair) whose "\u" is at `pos`. Returns
// its length in bytes, 0 when broken.
std::size_t DecodeUnicodeEscape(std::string_view body, std::size_t pos, char32_t& c) {
  const long first = ReadHex4(body, pos + 2);
  if (first < 0 || (first >= 0xDC00 && first <= 0xDFFF)) return 0;
  if (first < 0xD800 || first > 0xDBFF) {
    c = static_cast<char32_t>(first);
    return 6;
  }
  if (pos + 12 > body.size() || body[pos + 6] != '\\' || body[pos + 7] != 'u') return 0;
  const long second = ReadHex4(body, pos + 8);
  if (second < 0xDC00 || second > 0xDFFF) return 0;
  c = 0x10000 + ((static_cast<char32_t>(first) - 0xD800) << 10) + (static_cast<char32_t>(second) - 0xDC00);
  return 12;
}

// Decoded escapes are gathered as UTF-8 and turned into the ANSI code page a
// run at a time, so that a reply made only of \u escapes costs one
// conversion, not one per character.
class ValueBuilder {
 public:
  void AppendRaw(std::string_view bytes) {
    Flush();
    m_value.append(bytes);
  }
  void AppendDecoded(char32_t c) { AppendUtf8(m_pendingUtf8, c); }
  Text Finish() {
    Flush();
    return std::move(m_value);
  }

 private:
  void Flush() {
    if (m_pendingUtf8.empty()) return;
    Utf8ToAnsi(m_pendingUtf8);
    m_value += m_pendingUtf8;
    m_pendingUtf8.clear();
  }

  Text m_value;
  Text m_pendingUtf8;
};

char SimpleEscape(char c) {
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    default: return 0;
  }
}

}  // namespace

std::optional<Text> ReadJsonString(std::string_view body, std::size_t start) {
  ValueBuilder value;
  std::size_t pos = start;
  while (pos < body.size()) {
    const char c = body[pos];
    if (c == '"') return value.Finish();
    if (c != '\\') {
      const std::size_t runStart = pos;
      while (pos < body.size() && body[pos] != '"' && body[pos] != '\\') pos += CharLengthAt(body, pos);
      value.AppendRaw(body.substr(runStart, pos - runStart));
      continue;
    }
    const char next = pos + 1 < body.size() ? body[pos + 1] : '\0';
    if (const char simple = SimpleEscape(next)) {
      value.AppendDecoded(static_cast<unsigned char>(simple));
      pos += 2;
      continue;
    }
    char32_t decoded = 0;
    if (next == 'u') {
      if (const std::size_t length = DecodeUnicodeEscape(body, pos, decoded)) {
        value.AppendDecoded(decoded);
        pos += length;
        continue;
      }
    }
    value.AppendRaw("\\");
    ++pos;
  }
  return std::nullopt;
}

}  // namespace parlavo
