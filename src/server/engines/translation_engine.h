#pragma once

#include <stdexcept>
#include <string>

#include "detection/language_detector.h"

namespace parlavo::server {

// The engine cannot translate between these languages; what() is Chinese.
class UnsupportedLanguagePair : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The upstream translator failed or refused; what() is Chinese and says why.
class UpstreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The upstream rejected the request itself (for example a language it does
// not offer), as opposed to failing; what() is Chinese.
class UpstreamRejection : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What answers the service's two requests. Shared by all server threads:
// implementations are safe to call concurrently.
class TranslationEngine {
 public:
  virtual ~TranslationEngine() = default;
  virtual Detection Detect(const std::string& text) = 0;
  // `source` may be empty: the engine finds the language itself.
  virtual std::string Translate(const std::string& text, const std::string& source, const std::string& target) = 0;
};

}  // namespace parlavo::server
