#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace parlavo::server {

// A part of a text cut up for an upstream: a chunk to translate, or the
// blank (spaces, line breaks) around and between chunks, kept as it was.
struct TextPiece {
  std::string_view text;
  bool translate = false;
};

// Cuts a valid UTF-8 text into chunks of at most `maxChars` characters each,
// at the last paragraph end that fits, else the last sentence end, else the
// last word end, so never inside a character or a word (a word longer than
// `maxChars` alone is cut at a character). Concatenating the pieces gives the
// text back.
std::vector<TextPiece> SplitForUpstream(std::string_view text, std::size_t maxChars);

// Translates the chunks in order with `translate` and puts the text back
// together with its own blanks and line breaks. Throws UpstreamError when a
// chunk is still to be sent after `timeLimit`.
std::string TranslateInChunks(std::string_view text, std::size_t maxChars, std::chrono::milliseconds timeLimit,
                              const std::function<std::string(const std::string&)>& translate);

// Sends a chunk's paragraphs (its lines that hold more than blanks) to
// `translate` in one call, which answers one translation per paragraph in
// order, and puts them back between the chunk's own line breaks and blanks.
// Throws UpstreamError, naming `upstreamName`, when the count differs.
std::string TranslateParagraphs(std::string_view chunk, std::string_view upstreamName,
                                const std::function<std::vector<std::string>(const std::vector<std::string>&)>& translate);

}  // namespace parlavo::server
