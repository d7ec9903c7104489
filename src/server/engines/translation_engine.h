#pragma once

#include <stdexcept>
#include <string>


namespace parlavo::server {

// The engine cannot translate between these languages; what() is Chinese.
class UnsupportedLanguagePair : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// What went wrong with an upstream, in the few words a reply shows after
// the engine's name ("微软翻译无法连接"). OverBudget is the service's own
// want of memory for the reply, no fault of the upstream's.
enum class FailureKind { Unreachable, TooManyRequests, Refused, Faulty, OverBudget };

// The upstream translator failed or refused; what() is Chinese and says why.
class UpstreamError : public std::runtime_error {
 public:
  explicit UpstreamError(const std::string& what, FailureKind kind = FailureKind::Faulty)
      : std::runtime_error(what), m_kind(kind) {}
  FailureKind kind() const { return m_kind; }

 private:
  FailureKind m_kind;
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
  std::string details;  // why a later engine than the first answered, in a few Chinese words; else empty
};

// What answers the service's translation requests (detection is local, the
// same whoever translates). Shared by all server threads: implementations
// are safe to call concurrently.
class TranslationEngine {
 public:
  virtual ~TranslationEngine() = default;
  // `source` may be empty: the engine finds the language itself.
  virtual std::string Translate(const std::string& text, const std::string& source, const std::string& target) = 0;
  // The translation with who made it; a chain of engines says which of them.
  virtual Translation Answer(const std::string& text, const std::string& source, const std::string& target) {
    return {Translate(text, source, target), {}, {}};
  }
};

}  // namespace parlavo::server
