// The web fetch's reading of a reply body without the network: the bytes
// arrive in pieces of any size, are cut into lines, and the first line that
// holds the key (searched over whole characters) ends the reading.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "fuzz_support.h"
#include "net/ansi_code_page.h"
#include "net/line_splitter.h"

namespace {

using parlavo::Text;
constexpr std::size_t npos = std::string_view::npos;

// Feeds `body` in pieces whose sizes (0 included) follow `pieceSeed`.
// Returns whether the splitter still wanted more at the end.
bool FeedInPieces(parlavo::LineSplitter& splitter, std::string_view body, std::uint32_t pieceSeed) {
  std::minstd_rand sizes(pieceSeed);
  bool wanted = true;
  while (!body.empty()) {
    const std::size_t piece = std::min<std::size_t>(sizes() % 17, body.size());
    wanted = splitter.Feed(body.substr(0, piece));
    body.remove_prefix(piece);
  }
  return splitter.Finish() && wanted;
}

std::string WithoutCrBeforeLf(std::string_view body) {
  std::string out;
  for (std::size_t pos = 0; pos < body.size(); ++pos) {
    if (body[pos] == '\r' && pos + 1 < body.size() && body[pos + 1] == '\n') continue;
    out += body[pos];
  }
  return out;
}

void CheckFind(std::string_view text, std::string_view key) {
  // In UTF-8 a valid key cannot start on a continuation byte, so a byte
  // search is whole-character there; an invalid key may match anywhere.
  if (parlavo::AnsiCharset() == "UTF-8" && !parlavo::fuzz::IsValidUtf8(key)) return;
  PARLAVO_FUZZ_CHECK(parlavo::Find(text, key) == parlavo::fuzz::FindAtCharacterBoundary(text, key),
                     "Find gives the first match that starts on a character boundary");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto pieceSeed = input.ConsumeIntegral<std::uint32_t>();
  const Text key = input.ConsumeRandomLengthString(32);
  const Text body = input.ConsumeRemainingBytesAsString();

  std::vector<Text> lines;
  parlavo::LineSplitter all([&lines](const Text& line) {
    lines.push_back(line);
    return true;
  });
  PARLAVO_FUZZ_CHECK(FeedInPieces(all, body, pieceSeed), "a handler that never stops is never stopped");
  std::string joined;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (i > 0) joined += '\n';
    joined += lines[i];
    PARLAVO_FUZZ_CHECK(lines[i].find('\n') == npos, "no line holds a line feed");
  }
  if (!body.empty() && body.back() == '\n') joined += '\n';
  PARLAVO_FUZZ_CHECK(joined == WithoutCrBeforeLf(body), "the lines joined with LF give the body minus CRs before LFs");

  for (const Text& line : lines) CheckFind(line, key);
  CheckFind(body, key);

  // The first-match reading, as FetchMatchingLine does it.
  std::size_t expected = npos;
  for (std::size_t i = 0; i < lines.size() && expected == npos; ++i)
    if (parlavo::Find(lines[i], key) != npos) expected = i;
  std::vector<Text> delivered;
  parlavo::LineSplitter firstMatch([&delivered, &key](const Text& line) {
    delivered.push_back(line);
    return parlavo::Find(line, key) == npos;
  });
  const bool wantedMore = FeedInPieces(firstMatch, body, pieceSeed ^ 0x9E3779B9u);
  if (expected == npos) {
    PARLAVO_FUZZ_CHECK(wantedMore && delivered == lines, "without a match every line is read");
  } else {
    PARLAVO_FUZZ_CHECK(!wantedMore, "the reading stops at the first match");
    PARLAVO_FUZZ_CHECK(delivered.size() == expected + 1 && delivered.back() == lines[expected],
                       "nothing after the first matching line is delivered");
  }
  return 0;
}
