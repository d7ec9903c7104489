#include "dictionary/chinese_to_english.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

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
  Translator(const DictionaryIndex& index, std::string_view text) : m_index(index), m_text(text) {}

  std::string Run() {
    std::size_t pos = 0;
    while (pos < m_text.size()) {
      std::size_t next = pos;
      const char32_t c = NextCodePoint(m_text, next);
      if (IsHan(c)) {
        next = TranslateHanRunAt(pos);
      } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == 0x3000) {
        FlushKept();
      } else if (c == '\n') {
        FlushKept();
        m_out.LineBreak(c);
      } else if (const auto mark = AsciiForm(c); mark && !IsAsciiAlphanumeric(mark->text.front())) {
        FlushKept();
        m_out.Mark(*mark);
      } else {
        m_kept += mark ? mark->text : m_text.substr(pos, next - pos);
      }
      pos = next;
    }
    FlushKept();
    return m_out.Take();
  }

 private:
  struct Segment {
    std::size_t begin, end;                  // byte offsets
    std::size_t characters;
    std::optional<std::string_view> gloss;  // nullopt: not in the dictionary
  };

  // Translates the run of Han characters starting at `pos`; returns the
  // position after it. The run is segmented by longest match from the front
  // and from the back; the one with fewer words wins (then the one with
  // fewer single characters, then the backward one), which mends
  // "不知/道" into "不/知道".
  std::size_t TranslateHanRunAt(std::size_t pos) {
    std::vector<std::size_t> bounds{pos};
    while (bounds.back() < m_text.size()) {
      std::size_t next = bounds.back();
      if (!IsHan(NextCodePoint(m_text, next))) break;
      bounds.push_back(next);
    }
    const std::vector<Segment> forward = Segmentation(bounds, true);
    const std::vector<Segment> backward = Segmentation(bounds, false);
    const auto rank = [](const std::vector<Segment>& segments) {
      std::size_t singles = 0;
      for (const Segment& segment : segments) singles += segment.characters == 1 ? 1 : 0;
      return std::pair(segments.size(), singles);
    };
    for (const Segment& segment : rank(forward) < rank(backward) ? forward : backward) {
      if (!segment.gloss) {
        m_kept.append(m_text.substr(segment.begin, segment.end - segment.begin));
        continue;
      }
      FlushKept();
      if (!segment.gloss->empty()) m_out.Word(*segment.gloss, true);
    }
    return bounds.back();
  }

  // Longest-match segmentation of the characters between bounds.front() and
  // bounds.back(), in text order.
  std::vector<Segment> Segmentation(const std::vector<std::size_t>& bounds, bool fromFront) const {
    std::vector<Segment> segments;
    const std::size_t characters = bounds.size() - 1;
    const std::size_t longest = std::max<std::size_t>(m_index.longestChineseKey(), 1);
    for (std::size_t done = 0; done < characters;) {
      const std::size_t left = characters - done;
      Segment found{0, 0, 0, std::nullopt};
      std::size_t length = std::min(longest, left);
      for (; length >= 1; --length) {
        const std::size_t first = fromFront ? done : characters - done - length;
        found = {bounds[first], bounds[first + length], length, std::nullopt};
        found.gloss = m_index.Gloss(m_text.substr(found.begin, found.end - found.begin));
        if (found.gloss || length == 1) break;
      }
      segments.push_back(found);
      done += found.characters;
    }
    if (!fromFront) std::reverse(segments.begin(), segments.end());
    return segments;
  }

  void FlushKept() {
    if (m_kept.empty()) return;
    m_out.Word(m_kept, false);
    m_kept.clear();
  }

  const DictionaryIndex& m_index;
  std::string_view m_text;
  EnglishComposer m_out;
  std::string m_kept;  // a run of text passed through unchanged
};

}  // namespace

std::string ChineseToEnglish(const DictionaryIndex& index, std::string_view text) {
  return Translator(index, text).Run();
}

}  // namespace parlavo::server
