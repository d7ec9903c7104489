#include "dictionary/english_to_chinese.h"

#include <cctype>
#include <vector>

#include "dictionary/english_lemmas.h"
#include "dictionary/punctuation.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

enum class TokenKind { Word, Blank, LineBreak, Mark, Other };

struct Token {
  TokenKind kind;
  std::string text;    // as written
  std::string lookup;  // words: lower case, typographic apostrophes made plain
};

// "it's", "let's": not a possessive.
bool IsContraction(std::string_view word) {
  for (std::string_view contraction : {"it's", "let's", "he's", "she's", "that's", "what's", "there's", "here's",
                                       "who's", "where's", "how's", "when's"}) {
    if (word == contraction) return true;
  }
  return false;
}

bool IsAlphanumeric(char32_t c) { return c < 0x80 && std::isalnum(static_cast<int>(c)); }

std::vector<Token> Tokenise(std::string_view text) {
  std::vector<Token> tokens;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t start = pos;
    const char32_t c = NextCodePoint(text, pos);
    if (IsAlphanumeric(c)) {
      std::string lookup(1, static_cast<char>(std::tolower(static_cast<int>(c))));
      while (pos < text.size()) {
        std::size_t after = pos;
        const char32_t next = NextCodePoint(text, after);
        if (IsAlphanumeric(next)) {
          lookup += static_cast<char>(std::tolower(static_cast<int>(next)));
          pos = after;
          continue;
        }
        // Joiners inside a word: don't, e-mail, 3.5, 1,000.
        std::size_t beyond = after;
        const bool joined = after < text.size() && IsAlphanumeric(NextCodePoint(text, beyond));
        const bool digits = std::isdigit(static_cast<unsigned char>(lookup.back())) && beyond > after &&
                            std::isdigit(static_cast<unsigned char>(text[after]));
        if (joined && (next == '\'' || next == U'’' || next == '-' || ((next == '.' || next == ',') && digits))) {
          lookup += next == U'’' ? '\'' : static_cast<char>(next);
          pos = after;
          continue;
        }
        break;
      }
      tokens.push_back({TokenKind::Word, std::string(text.substr(start, pos - start)), std::move(lookup)});
    } else if (c == '\n') {
      tokens.push_back({TokenKind::LineBreak, "\n", {}});
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      if (tokens.empty() || tokens.back().kind != TokenKind::Blank) tokens.push_back({TokenKind::Blank, " ", {}});
    } else {
      const bool mark = c < 0x80;
      tokens.push_back({mark ? TokenKind::Mark : TokenKind::Other, std::string(text.substr(start, pos - start)), {}});
    }
  }
  return tokens;
}

// Lays Chinese words out without blanks; a blank of the input survives only
// next to a kept (Latin) word, as in "我爱 Python", and not after full-width
// punctuation.
class ChineseComposer {
 public:
  void Blank() { m_blank = true; }
  void LineBreak() {
    m_out += '\n';
    m_blank = false;
    m_lastLatin = false;
  }
  void Chinese(std::string_view word) { Append(word, false); }
  void Latin(std::string_view word) { Append(word, true); }
  void Mark(char mark) {
    if (mark == '"') {
      Append(m_quoteOpen ? "”" : "“", false);
      m_quoteOpen = !m_quoteOpen;
    } else if (const auto fullWidth = FullWidthForm(mark)) {
      Append(*fullWidth, false);
      m_afterFullWidthMark = true;
    } else {
      Append(std::string_view(&mark, 1), false);
    }
  }
  std::string Take() { return std::move(m_out); }

 private:
  void Append(std::string_view piece, bool latin) {
    if (m_blank && (latin || m_lastLatin) && !m_afterFullWidthMark && !m_out.empty() && m_out.back() != '\n') {
      m_out += ' ';
    }
    m_out += piece;
    m_blank = false;
    m_lastLatin = latin;
    m_afterFullWidthMark = false;
  }

  std::string m_out;
  bool m_blank = false;
  bool m_lastLatin = false;
  bool m_afterFullWidthMark = false;  // "，" and the like bring their own room
  bool m_quoteOpen = false;
};

class Translator {
 public:
  Translator(const DictionaryIndex& index, std::string_view text) : m_index(index), m_tokens(Tokenise(text)) {}

  std::string Run() {
    for (std::size_t i = 0; i < m_tokens.size();) {
      const Token& token = m_tokens[i];
      switch (token.kind) {
        case TokenKind::Word:
          i = TranslateWordsAt(i);
          continue;
        case TokenKind::Blank:
          m_out.Blank();
          break;
        case TokenKind::LineBreak:
          m_out.LineBreak();
          break;
        case TokenKind::Other:
          m_out.Chinese(token.text);
          break;
        case TokenKind::Mark:
          m_out.Mark(token.text.front());
          break;
      }
      ++i;
    }
    return m_out.Take();
  }

 private:
  // Translates the phrase or word starting at token `first`; returns the
  // index of the token after it.
  std::size_t TranslateWordsAt(std::size_t first) {
    std::vector<std::size_t> words{first};
    while (words.size() < m_index.longestEnglishKey()) {
      const std::size_t blank = words.back() + 1;
      if (blank + 1 >= m_tokens.size() || m_tokens[blank].kind != TokenKind::Blank ||
          m_tokens[blank + 1].kind != TokenKind::Word) {
        break;
      }
      words.push_back(blank + 1);
    }
    for (std::size_t count = words.size(); count >= 2; --count) {
      std::string key = m_tokens[first].lookup;
      for (std::size_t w = 1; w < count; ++w) key += ' ' + m_tokens[words[w]].lookup;
      if (const auto chinese = m_index.ChineseFor(key)) {
        m_out.Chinese(*chinese);
        return words[count - 1] + 1;
      }
    }
    TranslateWord(m_tokens[first]);
    return first + 1;
  }

  void TranslateWord(const Token& token) {
    const std::string& word = token.lookup;
    if (word == "a" || word == "an" || word == "the") return;
    if (const auto chinese = Lookup(word)) {
      m_out.Chinese(*chinese);
    } else if (word.ends_with("'s") && word.size() > 2 && !IsContraction(word)) {
      if (const auto owner = Lookup(word.substr(0, word.size() - 2))) {
        m_out.Chinese(*owner);
        m_out.Chinese("的");
      } else {
        m_out.Latin(token.text);
      }
    } else {
      m_out.Latin(token.text);
    }
  }

  std::optional<std::string_view> Lookup(std::string_view word) const {
    for (const std::string& form : LookupForms(word)) {
      if (const auto chinese = m_index.ChineseFor(form)) return chinese;
    }
    return std::nullopt;
  }

  const DictionaryIndex& m_index;
  std::vector<Token> m_tokens;
  ChineseComposer m_out;
};

}  // namespace

std::string EnglishToChinese(const DictionaryIndex& index, std::string_view text) {
  return Translator(index, text).Run();
}

}  // namespace parlavo::server
