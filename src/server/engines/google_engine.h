#pragma once

#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Forwards translations to the public web endpoint desktop translators use
// (translate_a/single?client=gtx, the text as a form field). Detection stays local: it costs Google
// nothing and keeps the request count, and so the risk of a block, down.
class GoogleEngine : public TranslationEngine {
 public:
  // Google's recommended most per request; longer texts go in chunks.
  static constexpr std::size_t kMaxChunkChars = 5000;

  // `baseUrl` like "https://translate.googleapis.com" (a trailing '/' is fine).
  explicit GoogleEngine(std::string baseUrl, UpstreamLimits limits = {});

  Detection Detect(const std::string& text) override;
  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::string TranslateChunk(const std::string& text, const std::string& source, const std::string& target) const;

  std::string m_baseUrl;
  UpstreamLimits m_limits;
};

}  // namespace parlavo::server
