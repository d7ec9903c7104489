#include "engines/text_chunks.h"

#include <algorithm>
#include <utility>

#include "engines/translation_engine.h"
#include "text/ascii.h"
#include "text/unicode_script.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

bool IsBlank(char32_t c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == 0x3000 || c == 0xA0; }

bool IsAsciiBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

bool EndsSentence(char32_t c) {
  return c == U'。' || c == U'！' || c == U'？' || c == U'；' || c == U'…' || c == '.' || c == '!' || c == '?' ||
         c == ';';
}

// Scripts written without blanks between words: any character boundary is a
// word boundary.
bool WithoutBlanks(char32_t c) {
  const Script script = ScriptOf(c);
  return script == Script::Han || script == Script::Kana || script == Script::Thai;
}

std::size_t SkipBlanks(std::string_view text, std::size_t pos) {
  while (pos < text.size()) {
    std::size_t next = pos;
    if (!IsBlank(NextCodePoint(text, next))) break;
    pos = next;
  }
  return pos;
}

// The last paragraph, sentence and word ends seen, as byte offsets.
struct Boundaries {
  std::size_t paragraph = 0, sentence = 0, word = 0;

  // `c` starts at `pos`, right after `previous`.
  void Note(std::size_t pos, char32_t previous, char32_t c) {
    if (c == '\n') paragraph = pos;
    if (EndsSentence(previous) && (previous >= 0x80 || IsBlank(c))) sentence = pos;
    if ((IsBlank(c) && !IsBlank(previous)) || WithoutBlanks(previous) || WithoutBlanks(c)) word = pos;
  }
};

// Byte offset of the best place to end a chunk that starts at `start` and
// holds at most `maxChars` characters; `start` < text.size().
std::size_t ChunkEnd(std::string_view text, std::size_t start, std::size_t maxChars) {
  Boundaries at;
  std::size_t pos = start;
  char32_t previous = 0;
  for (std::size_t count = 0; pos < text.size(); ++count) {
    std::size_t next = pos;
    const char32_t c = NextCodePoint(text, next);
    // The character just past the window may start the boundary itself.
    if (count > 0) at.Note(pos, previous, c);
    if (count == maxChars) break;
    previous = c;
    pos = next;
  }
  if (pos >= text.size()) return text.size();
  for (const std::size_t end : {at.paragraph, at.sentence, at.word}) {
    if (end > start) return end;
  }
  return pos;
}

}  // namespace

std::vector<TextPiece> SplitForUpstream(std::string_view text, std::size_t maxChars) {
  std::vector<TextPiece> pieces;
  if (maxChars == 0) maxChars = 1;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t chunk = SkipBlanks(text, pos);
    if (chunk > pos) pieces.push_back({text.substr(pos, chunk - pos), false});
    if (chunk == text.size()) break;
    std::size_t end = ChunkEnd(text, chunk, maxChars);
    // Blanks that end a chunk belong to the gap after it.
    std::size_t trimmed = end;
    while (trimmed > chunk && IsAsciiBlank(text[trimmed - 1])) --trimmed;
    pieces.push_back({text.substr(chunk, trimmed - chunk), true});
    if (trimmed < end) pieces.push_back({text.substr(trimmed, end - trimmed), false});
    pos = end;
  }
  return pieces;
}

std::string TranslateInChunks(std::string_view text, std::size_t maxChars, std::chrono::milliseconds timeLimit,
                              const std::function<std::string(const std::string&)>& translate) {
  const auto deadline = std::chrono::steady_clock::now() + timeLimit;
  std::string result;
  bool first = true;
  for (const TextPiece& piece : SplitForUpstream(text, maxChars)) {
    if (!piece.translate) {
      result += piece.text;
      continue;
    }
    if (!first && std::chrono::steady_clock::now() >= deadline) {
      throw UpstreamError("文本过长，在线翻译未能在 " +
                          std::to_string(std::chrono::duration_cast<std::chrono::seconds>(timeLimit).count()) +
                          " 秒内译完");
    }
    first = false;
    result += translate(std::string(piece.text));
  }
  return result;
}

std::string TranslateParagraphs(std::string_view chunk, std::string_view upstreamName,
                                const std::function<std::vector<std::string>(const std::vector<std::string>&)>& translate) {
  // Each line, and the paragraph it holds without its blanks.
  std::vector<std::pair<std::string_view, std::string_view>> lines;
  std::vector<std::string> paragraphs;
  for (std::size_t pos = 0; pos <= chunk.size();) {
    const std::size_t end = std::min(chunk.find('\n', pos), chunk.size());
    const std::string_view line = chunk.substr(pos, end - pos);
    lines.emplace_back(line, TrimAscii(line, " \t\r"));
    if (!lines.back().second.empty()) paragraphs.emplace_back(lines.back().second);
    pos = end + 1;
  }
  if (paragraphs.empty()) return std::string(chunk);
  const std::vector<std::string> translations = translate(paragraphs);
  // Any other count would put translations beside the wrong paragraphs.
  if (translations.size() != paragraphs.size()) {
    throw UpstreamError(std::string(upstreamName) + " 返回的译文段数（" + std::to_string(translations.size()) +
                        "）与原文（" + std::to_string(paragraphs.size()) + "）不符");
  }
  std::string result;
  std::size_t next = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto [line, paragraph] = lines[i];
    if (i > 0) result += '\n';
    if (paragraph.empty()) {
      result += line;
      continue;
    }
    const std::size_t lead = static_cast<std::size_t>(paragraph.data() - line.data());
    result += line.substr(0, lead);
    result += translations[next++];
    result += line.substr(lead + paragraph.size());
  }
  return result;
}

}  // namespace parlavo::server
