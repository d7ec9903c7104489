#include "engines/text_chunks.h"

#include "engines/translation_engine.h"
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

// Byte offset of the best place to end a chunk that starts at `start` and
// holds at most `maxChars` characters; `start` < text.size().
std::size_t ChunkEnd(std::string_view text, std::size_t start, std::size_t maxChars) {
  std::size_t paragraph = 0, sentence = 0, word = 0;
  std::size_t pos = start;
  char32_t previous = 0;
  for (std::size_t count = 0; pos < text.size() && count < maxChars; ++count) {
    std::size_t next = pos;
    const char32_t c = NextCodePoint(text, next);
    if (count > 0) {
      if (c == '\n') paragraph = pos;
      if (IsBlank(c) && !IsBlank(previous)) word = pos;
      if (EndsSentence(previous) && (previous >= 0x80 || IsBlank(c))) sentence = pos;
      if (WithoutBlanks(previous) || WithoutBlanks(c)) word = pos;
    }
    previous = c;
    pos = next;
  }
  if (pos >= text.size()) return text.size();
  // The character after the window may start the boundary itself.
  std::size_t next = pos;
  const char32_t c = NextCodePoint(text, next);
  if (c == '\n') paragraph = pos;
  if (IsBlank(c) || WithoutBlanks(previous) || WithoutBlanks(c)) word = pos;
  if (EndsSentence(previous) && (previous >= 0x80 || IsBlank(c))) sentence = pos;
  for (const std::size_t end : {paragraph, sentence, word}) {
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

}  // namespace parlavo::server
