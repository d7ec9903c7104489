#include "dictionary/pinyin_marks.h"

#include <sstream>
#include <vector>

#include "text/utf8.h"

namespace parlavo::server {

namespace {

// The vowel with a tone mark, tones 1 to 4, lower and upper case.
char32_t Marked(char32_t vowel, int tone) {
  static constexpr char32_t kMarks[][4] = {
      {U'ā', U'á', U'ǎ', U'à'}, {U'ē', U'é', U'ě', U'è'}, {U'ī', U'í', U'ǐ', U'ì'}, {U'ō', U'ó', U'ǒ', U'ò'},
      {U'ū', U'ú', U'ǔ', U'ù'}, {U'ǖ', U'ǘ', U'ǚ', U'ǜ'}, {U'Ā', U'Á', U'Ǎ', U'À'}, {U'Ē', U'É', U'Ě', U'È'},
      {U'Ī', U'Í', U'Ǐ', U'Ì'}, {U'Ō', U'Ó', U'Ǒ', U'Ò'}, {U'Ū', U'Ú', U'Ǔ', U'Ù'}, {U'Ǖ', U'Ǘ', U'Ǚ', U'Ǜ'},
  };
  static constexpr std::u32string_view kPlain = U"aeiouüAEIOUÜ";
  const auto row = kPlain.find(vowel);
  return row == std::u32string_view::npos ? vowel : kMarks[row][tone - 1];
}

bool IsVowel(char32_t c) { return std::u32string_view(U"aeiouüAEIOUÜ").find(c) != std::u32string_view::npos; }

// Pinyin is ASCII but for ü: the locale has no say.
char32_t Lower(char32_t c) { return c >= U'A' && c <= U'Z' ? c - U'A' + U'a' : c == U'Ü' ? U'ü' : c; }

// "lu:4" -> {"lü", 4}; tone 0 when the token is not a numbered syllable.
std::pair<std::u32string, int> Syllable(std::string_view token) {
  if (token.size() < 2 || token.back() < '1' || token.back() > '5') return {{}, 0};
  std::u32string letters;
  for (std::size_t i = 0; i + 1 < token.size(); ++i) {
    const char c = token[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && c != ':') return {{}, 0};
    if (c == ':' && !letters.empty() && Lower(letters.back()) == U'u') {
      letters.back() = letters.back() == U'u' ? U'ü' : U'Ü';
    } else if (c == 'v' || c == 'V') {
      letters += c == 'v' ? U'ü' : U'Ü';
    } else if (c != ':') {
      letters += static_cast<char32_t>(c);
    }
  }
  if (letters.empty()) return {{}, 0};
  return {letters, token.back() - '0'};
}

// Where the mark goes: on a or e; on the o of "ou"; else on the last vowel.
void MarkTone(std::u32string& letters, int tone) {
  if (tone < 1 || tone > 4) return;
  std::size_t at = std::u32string::npos;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    const char32_t c = Lower(letters[i]);
    if (c == U'a' || c == U'e' || (c == U'o' && i + 1 < letters.size() && Lower(letters[i + 1]) == U'u')) {
      at = i;
      break;
    }
    if (IsVowel(c)) at = i;
  }
  if (at != std::u32string::npos) letters[at] = Marked(letters[at], tone);
}

}  // namespace

std::string PinyinWithToneMarks(std::string_view numbered) {
  std::string out;
  bool lastWasSyllable = false;
  std::istringstream tokens{std::string(numbered)};
  for (std::string token; tokens >> token;) {
    auto [letters, tone] = Syllable(token);
    if (tone == 0) {
      if (!out.empty()) out += ' ';
      out += token;
      lastWasSyllable = false;
      continue;
    }
    // A capital starts the next word of a name: "Zhōnghuá Rénmín".
    const bool capital = !letters.empty() && letters.front() != Lower(letters.front());
    if (!out.empty() && (!lastWasSyllable || capital)) {
      out += ' ';
    } else if (lastWasSyllable && std::u32string_view(U"aoe").find(letters.front()) != std::u32string_view::npos) {
      out += '\'';
    }
    MarkTone(letters, tone);
    for (char32_t c : letters) AppendUtf8(out, c);
    lastWasSyllable = true;
  }
  return out;
}

}  // namespace parlavo::server
