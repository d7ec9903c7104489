#include "dictionary/english_to_chinese.h"

#include <cctype>
#include <vector>

#include "dictionary/english_clause.h"
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
  Translator(const DictionaryIndex& index, std::string_view text, RuleTrace* trace)
      : m_index(index), m_tokens(Tokenise(text)), m_trace(trace) {}

  std::string Run() {
    for (const Token& token : m_tokens) {
      switch (token.kind) {
        case TokenKind::Word:
          m_clause.push_back({token.text, token.lookup});
          break;
        case TokenKind::Blank:
          if (m_clause.empty()) m_out.Blank();
          break;
        case TokenKind::LineBreak:
          FlushClause(false);
          m_out.LineBreak();
          break;
        case TokenKind::Other:
          FlushClause(false);
          m_out.Chinese(token.text);
          break;
        case TokenKind::Mark:
          FlushClause(token.text == "?");
          m_out.Mark(token.text.front());
          break;
      }
    }
    FlushClause(false);
    return m_out.Take();
  }

 private:
  // Translates the words gathered since the last punctuation mark.
  void FlushClause(bool question) {
    if (m_clause.empty()) return;
    bool first = true;
    for (const ChinesePiece& piece : TranslateEnglishClause(m_index, m_clause, question, m_trace)) {
      if (!first) m_out.Blank();
      first = false;
      if (piece.latin) {
        m_out.Latin(piece.text);
      } else {
        m_out.Chinese(piece.text);
      }
    }
    m_clause.clear();
  }

  const DictionaryIndex& m_index;
  std::vector<Token> m_tokens;
  RuleTrace* m_trace;
  std::vector<ClauseToken> m_clause;
  ChineseComposer m_out;
};

}  // namespace

std::string EnglishToChinese(const DictionaryIndex& index, std::string_view text, RuleTrace* trace) {
  return Translator(index, text, trace).Run();
}

}  // namespace parlavo::server
