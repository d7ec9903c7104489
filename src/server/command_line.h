#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace parlavo::server {

enum class EngineKind { Dictionary, LibreTranslate, Google };

struct ServiceOptions {
  std::string host = "127.0.0.1";
  int port = 8765;
  EngineKind engine = EngineKind::Dictionary;
  std::string upstream;  // empty: the engine's default
  bool help = false;
};

// Thrown for a command line that cannot be used; what() is Chinese.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --listen HOST:PORT, --engine NAME, --upstream URL, --help; each also as
// --name=value. Throws UsageError.
ServiceOptions ParseCommandLine(const std::vector<std::string>& arguments);

std::string UsageText();

}  // namespace parlavo::server
