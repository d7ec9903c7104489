#include "word_gloss.h"

#include <optional>
#include <vector>

#include "dictionary/chinese_segmenter.h"
#include "dictionary/english_morphology.h"
#include "dictionary/punctuation.h"
#include "text/ascii.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

// Blanks are free: chrF does not count them.
void AppendWord(std::string& out, std::string_view word) {
  if (word.empty()) return;
  if (!out.empty()) out += ' ';
  out += word;
}

// CC-CEDICT's first sense, without the "to " that marks a verb.
std::string_view FirstRendering(std::string_view renderings) {
  std::string_view first = renderings.substr(0, renderings.find('/'));
  if (first.starts_with("to ")) first.remove_prefix(3);
  return first;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the English word starting at `pos` ends (`pos` itself when none does):
// letters and digits, with apostrophes inside ("don't") and points or commas
// between digits ("3.50", "5,000").
std::size_t WordEnd(std::string_view text, std::size_t pos) {
  std::size_t end = pos;
  while (end < text.size()) {
    const char c = text[end];
    const bool joiner = end > pos && end + 1 < text.size() &&
                        (c == '\'' ? IsAsciiAlphanumeric(text[end + 1])
                                   : (c == '.' || c == ',') && IsDigit(text[end - 1]) && IsDigit(text[end + 1]));
    if (!IsAsciiAlphanumeric(c) && !joiner) break;
    ++end;
  }
  return end;
}

}  // namespace

std::string GlossChinese(const DictionaryIndex& index, std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t next = pos;
    const char32_t c = NextCodePoint(text, next);
    if (IsHan(c)) {
      next = HanRunEnd(text, pos);
      for (const ChineseWord& word : SegmentChinese(index, text.substr(pos, next - pos))) {
        AppendWord(out, word.entry ? FirstRendering(word.entry->value) : word.text);
      }
    } else if (const auto mark = AsciiForm(c)) {
      AppendWord(out, mark->text);
    } else {
      AppendWord(out, text.substr(pos, next - pos));
    }
    pos = next;
  }
  if (!out.empty() && out.front() >= 'a' && out.front() <= 'z') out.front() = static_cast<char>(out.front() - 'a' + 'A');
  return out;
}

std::string GlossEnglish(const DictionaryIndex& index, std::string_view text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size();) {
    if (const std::size_t end = WordEnd(text, pos); end > pos) {
      const std::string_view word = text.substr(pos, end - pos);
      std::string rendering(word);
      for (const WordForm& form : LookupForms(ToLowerAscii(word))) {
        if (const auto entry = index.English(form.lemma)) {
          rendering = entry->value;
          break;
        }
      }
      AppendWord(out, rendering);
      pos = end;
      continue;
    }
    std::size_t next = pos;
    const char32_t c = NextCodePoint(text, next);
    const auto fullWidth = c < 0x80 ? FullWidthForm(static_cast<char>(c)) : std::nullopt;
    if (c != ' ') AppendWord(out, fullWidth ? *fullWidth : text.substr(pos, next - pos));
    pos = next;
  }
  return out;
}

}  // namespace parlavo::server
