#pragma once

#include "net/text.h"
#include "net/web_fetch.h"

namespace parlavo {

inline constexpr int CURRENT_VERSION = 2;
extern const char* const UPDATE_KEY;     // "trans"
extern const char* const UPDATE_URL;     // "http://" maker host "/orbenix/up.txt"
extern const char* const HOME_PAGE_URL;  // "http://" maker host

enum class UpdateStatus {
  Newer,    // the file lists a version above ours
  Latest,   // the file lists ours or an older one
  Unknown,  // no usable version in the file
};

// The decision for the first line of the update file that holds the key:
// the number after its first "=" read as atoi would, compared with `current`.
UpdateStatus ClassifyVersionLine(const Text& line, int current);

class CUpdateChecker {
 public:
  CUpdateChecker(Text url, Text key, FetchLimits limits = {});

  // Network errors propagate as InternetError.
  UpdateStatus CheckForUpdate(int current);
  bool HasNewerVersion(int current);

  Text FetchMatchingLine();
  static Text ValueAfterEquals(Text line);

  Text m_strKey;
  Text m_strUrl;

 private:
  FetchLimits m_limits;
};

}  // namespace parlavo
