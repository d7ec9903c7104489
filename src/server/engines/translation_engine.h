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

// A translation and, for the reply, who made it.
struct Translation {
  std::string text;
  std::string engine;   // the engine's name as on the command line; empty for a lone engine
  std::string details;  // why a later engine than the first answered, in Chinese; else empty
};

// What answers the service's two requests. Shared by all server threads:
// implementations are safe to call concurrently.
class TranslationEngine {
 public:
  virtual ~TranslationEngine() = default;
  virtual Detection Detect(const std::string& text) = 0;
  // `source` may be empty: the engine finds the language itself.
  virtual std::string Translate(const std::string& text, const std::string& source, const std::string& target) = 0;
  // The translation with who made it; a chain of engines says which of them.
  virtual Translation Answer(const std::string& text, const std::string& source, const std::string& target) {
    return {Translate(text, source, target), {}, {}};
  }
};

}  // namespace parlavo::server
