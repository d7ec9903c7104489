// An update file from the maker's server, from its bytes to the decision:
// the first line that holds "trans", the number after its first "=" read as
// atoi reads it, compared with our version.
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "net/ansi_code_page.h"
#include "net/line_splitter.h"
#include "services/update_checker.h"

namespace {

using parlavo::Text;
using parlavo::UpdateStatus;
constexpr std::size_t npos = std::string_view::npos;

// The first line holding the key, cut the obvious way.
Text ExpectedLine(std::string_view file, std::string_view key) {
  while (!file.empty()) {
    const std::size_t lf = file.find('\n');
    std::string_view line = file.substr(0, lf);
    if (lf != npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (parlavo::fuzz::FindAtCharacterBoundary(line, key) != npos) return Text(line);
    if (lf == npos) break;
    file.remove_prefix(lf + 1);
  }
  return {};
}

// The C library's reading of the number (atoi stops at the same place);
// false when there are no digits at all.
bool ReadNumber(const Text& line, long long& number) {
  const std::size_t equals = line.find('=');
  const std::string value = equals == npos ? line : line.substr(equals + 1);
  const char* start = value.c_str();
  char* end = nullptr;
  errno = 0;
  number = std::strtoll(start, &end, 10);
  return end != start;
}

UpdateStatus Expected(const Text& line, long long current) {
  long long number = 0;
  if (line.empty() || !ReadNumber(line, number)) return UpdateStatus::Unknown;
  return number > current ? UpdateStatus::Newer : UpdateStatus::Latest;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);

  Text line;
  parlavo::LineSplitter splitter([&line](const Text& candidate) {
    if (parlavo::Find(candidate, parlavo::UPDATE_KEY) == npos) return true;
    line = candidate;
    return false;
  });
  splitter.Feed(file);
  splitter.Finish();
  PARLAVO_FUZZ_CHECK(line == ExpectedLine(file, parlavo::UPDATE_KEY), "the first line holding the key is the one read");
  if (line.empty()) return 0;

  const UpdateStatus status = parlavo::ClassifyVersionLine(line, parlavo::CURRENT_VERSION);
  PARLAVO_FUZZ_CHECK(status == Expected(line, parlavo::CURRENT_VERSION), "the decision follows atoi's number");

  // Around the number itself, where "equal is not newer" matters.
  long long number = 0;
  if (ReadNumber(line, number) && number > INT32_MIN && number < INT32_MAX) {
    for (const long long current : {number - 1, number, number + 1}) {
      PARLAVO_FUZZ_CHECK(parlavo::ClassifyVersionLine(line, static_cast<int>(current)) == Expected(line, current),
                         "only a number above ours is newer");
    }
  }
  return 0;
}
