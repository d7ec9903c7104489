#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace parlavo::server {

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8765;
  // Engine names in the order they are tried.
  std::vector<std::string> engines = {"microsoft", "transmart", "google", "dictionary"};
  std::string microsoftUrl = "https://edge.microsoft.com";
  std::string transmartUrl = "https://transmart.qq.com";
  std::string googleUrl = "https://translate.googleapis.com";
  std::string libretranslateUrl = "http://127.0.0.1:5000";
  std::string libretranslateKey;
  bool help = false;
};

// Thrown for a command line that cannot be used; what() is Chinese.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --listen HOST:PORT, --engine NAME[,NAME...], --microsoft-url URL,
// --transmart-url URL, --google-url URL, --libretranslate-url URL,
// --libretranslate-key KEY, --help; each also as --name=value. Throws
// UsageError.
ServiceOptions ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace parlavo::server
