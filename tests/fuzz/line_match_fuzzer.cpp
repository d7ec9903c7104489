// The web fetch's reading of a reply body without the network: the bytes
// arrive in pieces of any size, are cut into lines, and the first line that
// holds the key (searched over whole characters) ends the reading.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
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

// Feeds `body` in pieces whose sizes (0 included) follow `seed`; whether the
// splitter still wanted more at the end.
bool FeedInPieces(parlavo::LineSplitter& splitter, std::string_view body, std::uint32_t seed) {
  std::minstd_rand sizes(seed);
  bool wanted = true;
  while (!body.empty()) {
    const std::size_t piece = std::min<std::size_t>(sizes() % 17, body.size());
    wanted = splitter.Feed(body.substr(0, piece));
    body.remove_prefix(piece);
  }
  return splitter.Finish() && wanted;
}

void CheckFind(std::string_view text, std::string_view key) {
  // An invalid UTF-8 key may match anywhere; a valid one only at a boundary.
  if (parlavo::fuzz::IsUtf8Locale() && !parlavo::fuzz::IsValidText(key)) return;
  PARLAVO_FUZZ_CHECK(parlavo::Find(text, key) == parlavo::fuzz::FindAtCharacterBoundary(text, key),
                     "Find gives the first match that starts on a character boundary");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const auto seed = input.ConsumeIntegral<std::uint32_t>();
  const Text key = input.ConsumeRandomLengthString(32);
  const Text body = input.ConsumeRemainingBytesAsString();

  std::vector<Text> lines;
  parlavo::LineSplitter all([&lines](const Text& line) {
    lines.push_back(line);
    return true;
  });
  PARLAVO_FUZZ_CHECK(FeedInPieces(all, body, seed), "a handler that never stops is never stopped");
  // The lines joined with LF give the body less each CR before an LF.
  Text joined, expected;
  for (const Text& line : lines) {
    PARLAVO_FUZZ_CHECK(line.find('\n') == npos, "no line holds a line feed");
    joined += line + '\n';
  }
  if (!body.empty() && body.back() != '\n') joined.pop_back();
  for (std::size_t pos = 0; pos < body.size(); ++pos)
    if (body.compare(pos, 2, "\r\n") != 0) expected += body[pos];
  PARLAVO_FUZZ_CHECK(joined == expected, "lines are cut at LF only, a CR before it dropped, nothing else lost");
  CheckFind(body, key);

  // The first-match reading, as FetchMatchingLine does it.
  const auto match = std::find_if(lines.begin(), lines.end(), [&key](const Text& line) { return parlavo::Find(line, key) != npos; });
  std::vector<Text> delivered;
  parlavo::LineSplitter firstMatch([&delivered, &key](const Text& line) {
    delivered.push_back(line);
    return parlavo::Find(line, key) == npos;
  });
  const bool wantedMore = FeedInPieces(firstMatch, body, seed ^ 0x9E3779B9u);
  PARLAVO_FUZZ_CHECK(wantedMore == (match == lines.end()), "the reading stops at the first match, and only there");
  PARLAVO_FUZZ_CHECK(std::equal(delivered.begin(), delivered.end(), lines.begin(), match == lines.end() ? match : match + 1),
                     "the lines up to the first match are delivered, none after it");
  return 0;
}
