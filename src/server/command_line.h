#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace parlavo::server {

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8765;
  // Engine names in the order they are tried.
  std::vector<std::string> engines = {"google", "dictionary"};
  std::string googleUrl = "https://translate.googleapis.com";
  std::string libretranslateUrl = "http://127.0.0.1:5000";
  bool help = false;
};

// Thrown for a command line that cannot be used; what() is Chinese.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --listen HOST:PORT, --engine NAME[,NAME...], --google-url URL,
// --libretranslate-url URL, --help; each also as --name=value. Throws
// UsageError.
ServiceOptions ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace parlavo::server
