#pragma once

#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Forwards translations to the public web endpoint desktop translators use
// (translate_a/single?client=gtx), the text as a form field, or in the
// address when Google refuses the form.
class GoogleEngine : public TranslationEngine {
 public:
  // Google's recommended most per request; longer texts go in chunks.
  static constexpr std::size_t kMaxChunkChars = 5000;
  // Most bytes of the percent-encoded text in an address: peers see 400
  // above about 16 KB.
  static constexpr std::size_t kMaxQueryBytes = 8000;

  // `baseUrl` like "https://translate.googleapis.com" (a trailing '/' is fine).
  explicit GoogleEngine(std::string baseUrl, UpstreamLimits limits = {});

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::string TranslateChunk(const std::string& text, const std::string& address) const;
  // The chunk again with the text in the address, cut smaller where needed.
  std::string TranslateByGet(const std::string& text, const std::string& address) const;

  std::string m_baseUrl;
  UpstreamLimits m_limits;
};

}  // namespace parlavo::server
