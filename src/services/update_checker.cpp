#include "services/update_checker.h"

#include <cctype>
#include <climits>
#include <optional>
#include <utility>

#include "net/ansi_code_page.h"

namespace parlavo {

const char* const UPDATE_KEY = "trans";
const char* const UPDATE_URL = "http://" PARLAVO_MAKER_HOST "/orbenix/up.txt";
const char* const HOME_PAGE_URL = "http://" PARLAVO_MAKER_HOST;

namespace {

// atoi's reading (leading blanks, a sign, digits up to the first other
// character), but it says when there were no digits and saturates instead of
// overflowing.
std::optional<long long> ReadLeadingInteger(const Text& value) {
  std::size_t pos = 0;
  while (pos < value.size() && std::isspace(static_cast<unsigned char>(value[pos]))) ++pos;
  bool negative = false;
  if (pos < value.size() && (value[pos] == '+' || value[pos] == '-')) negative = value[pos++] == '-';
  if (pos >= value.size() || !std::isdigit(static_cast<unsigned char>(value[pos]))) return std::nullopt;
  long long number = 0;
  for (; pos < value.size() && std::isdigit(static_cast<unsigned char>(value[pos])); ++pos) {
    if (number < LLONG_MAX / 10) number = number * 10 + (value[pos] - '0');
    else number = LLONG_MAX;
  }
  return negative ? -number : number;
}

}  // namespace

CUpdateChecker::CUpdateChecker(Text url, Text key, FetchLimits limits)
    : m_strKey(std::move(key)), m_strUrl(std::move(url)), m_limits(limits) {}

UpdateStatus CUpdateChecker::CheckForUpdate(int current) {
  if (m_strUrl.empty() || m_strKey.empty()) return UpdateStatus::Unknown;
  const Text line = FetchMatchingLine();
  if (line.empty()) return UpdateStatus::Unknown;
  return ClassifyVersionLine(line, current);
}

bool CUpdateChecker::HasNewerVersion(int current) { return CheckForUpdate(current) == UpdateStatus::Newer; }

Text CUpdateChecker::FetchMatchingLine() { return parlavo::FetchMatchingLine(m_strUrl, m_strKey, m_limits); }

Text CUpdateChecker::ValueAfterEquals(Text line) {
  const std::size_t equals = Find(line, "=");
  if (equals != Text::npos) line.erase(0, equals + 1);
  return line;
}

UpdateStatus ClassifyVersionLine(const Text& line, int current) {
  const std::optional<long long> version = ReadLeadingInteger(CUpdateChecker::ValueAfterEquals(line));
  if (!version) return UpdateStatus::Unknown;
  return *version > current ? UpdateStatus::Newer : UpdateStatus::Latest;
}

}  // namespace parlavo
