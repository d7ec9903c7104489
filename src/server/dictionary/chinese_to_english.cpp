#include "dictionary/chinese_to_english.h"

#include <deque>
#include <utility>
#include <vector>

#include "dictionary/chinese_clause.h"
#include "dictionary/chinese_segmenter.h"
#include "dictionary/punctuation.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

bool IsAsciiAlphanumeric(char c) {
  return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// Lays English words and marks out with the blanks English puts between them.
class EnglishComposer {
 public:
  void Word(std::string_view word, bool capitalisable) {
    if (m_last == Piece::Word || m_last == Piece::Closing || m_last == Piece::Free) m_out += ' ';
    const std::size_t start = m_out.size();
    m_out += word;
    if (capitalisable && m_sentenceStart && m_out[start] >= 'a' && m_out[start] <= 'z') {
      m_out[start] = static_cast<char>(m_out[start] - 'a' + 'A');
    }
    m_sentenceStart = false;
    m_last = Piece::Word;
  }

  void Mark(const AsciiMark& mark) {
    switch (mark.position) {
      case MarkPosition::Closing:
        m_last = Piece::Closing;
        break;
      case MarkPosition::Opening:
        if (m_last == Piece::Word || m_last == Piece::Closing || m_last == Piece::Free) m_out += ' ';
        m_last = Piece::Opening;
        break;
      case MarkPosition::Free:
        if (m_last == Piece::Word || m_last == Piece::Closing) m_out += ' ';
        m_last = Piece::Free;
        break;
    }
    m_out += mark.text;
    if (mark.text == "." || mark.text == "!" || mark.text == "?") m_sentenceStart = true;
  }

  void LineBreak(char32_t c) {
    AppendUtf8(m_out, c);
    m_last = Piece::Start;
    m_sentenceStart = true;
  }

  std::string Take() { return std::move(m_out); }

 private:
  enum class Piece { Start, Word, Opening, Closing, Free };
  Piece m_last = Piece::Start;
  bool m_sentenceStart = true;
  std::string m_out;
};

class Translator {
 public:
  Translator(const DictionaryIndex& index, std::string_view text, RuleTrace* trace)
      : m_index(index), m_text(text), m_trace(trace) {}

  std::string Run() {
    std::size_t pos = 0;
    while (pos < m_text.size()) {
      std::size_t next = pos;
      const char32_t c = NextCodePoint(m_text, next);
      if (IsHan(c)) {
        FlushKept();
        next = HanRunEnd(m_text, pos);
        for (const ChineseWord& word : SegmentChinese(m_index, m_text.substr(pos, next - pos))) {
          m_clause.push_back({word.text, word.entry, true});
        }
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == 0x3000) {
        FlushKept();
      } else if (c == '\n') {
        FlushClause(false);
        m_out.LineBreak(c);
      } else if (const auto mark = AsciiForm(c); mark && !IsAsciiAlphanumeric(mark->text.front())) {
        FlushClause(mark->text == "?");
        m_out.Mark(*mark);
      } else {
        m_kept += mark ? mark->text : m_text.substr(pos, next - pos);
      }
      pos = next;
    }
    FlushClause(false);
    return m_out.Take();
  }

 private:
  void FlushKept() {
    if (m_kept.empty()) return;
    m_keptStore.push_back(std::move(m_kept));
    m_kept.clear();
    m_clause.push_back({m_keptStore.back(), std::nullopt, false});
  }

  // Translates the words gathered since the last punctuation mark.
  void FlushClause(bool question) {
    FlushKept();
    if (m_clause.empty()) return;
    for (const EnglishWord& word : TranslateChineseClause(m_index, m_clause, question, m_trace)) {
      m_out.Word(word.text, !word.kept);
    }
    m_clause.clear();
  }

  const DictionaryIndex& m_index;
  std::string_view m_text;
  RuleTrace* m_trace;
  EnglishComposer m_out;
  std::string m_kept;                  // a run of text passed through unchanged
  std::deque<std::string> m_keptStore;  // what clause words point into
  std::vector<ClauseWord> m_clause;
};

}  // namespace

std::string ChineseToEnglish(const DictionaryIndex& index, std::string_view text, RuleTrace* trace) {
  return Translator(index, text, trace).Run();
}

}  // namespace parlavo::server
