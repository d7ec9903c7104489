// The update check's decision on a line of the update file: the number after
// its first "=" read as atoi reads it, compared with our version.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_support.h"
#include "services/update_checker.h"

using parlavo::UpdateStatus;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string line(reinterpret_cast<const char*>(data), size);
  // The C library's reading of the number (atoi stops at the same place).
  const std::size_t equals = line.find('=');
  const std::string value = equals == std::string::npos ? line : line.substr(equals + 1);
  char* end = nullptr;
  const long long number = std::strtoll(value.c_str(), &end, 10);
  const bool hasNumber = end != value.c_str();
  const auto expected = [&](long long current) {
    return !hasNumber ? UpdateStatus::Unknown : number > current ? UpdateStatus::Newer : UpdateStatus::Latest;
  };

  PARLAVO_FUZZ_CHECK(parlavo::ClassifyVersionLine(line, parlavo::CURRENT_VERSION) == expected(parlavo::CURRENT_VERSION),
                     "the decision follows atoi's number");
  // Around the number itself, where "equal is not newer" matters.
  if (hasNumber && number > INT32_MIN && number < INT32_MAX) {
    for (const long long current : {number - 1, number, number + 1})
      PARLAVO_FUZZ_CHECK(parlavo::ClassifyVersionLine(line, static_cast<int>(current)) == expected(current),
                         "only a number above ours is newer");
  }
  return 0;
}
