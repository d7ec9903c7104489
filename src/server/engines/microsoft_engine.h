#pragma once

#include <string>

#include "engines/translation_engine.h"
#include "engines/upstream_http.h"

namespace parlavo::server {

// Microsoft's translation as the Edge browser calls it (translatetext: no
// key, a JSON array of paragraphs in, one translation per paragraph out).
class MicrosoftEngine : public TranslationEngine {
 public:
  // Characters per request: peers send 8 000-10 000; no limit is published.
  static constexpr std::size_t kMaxChunkChars = 5000;

  // `baseUrl` like "https://edge.microsoft.com" (a trailing '/' is fine).
  explicit MicrosoftEngine(std::string baseUrl, UpstreamLimits limits = {});

  std::string Translate(const std::string& text, const std::string& source, const std::string& target) override;

 private:
  std::string m_baseUrl;
  UpstreamLimits m_limits;
};

// The endpoint reads its text as HTML: "&", "<" and ">" go as entities and
// entities in the reply are decoded.
std::string EscapeHtmlText(std::string_view text);
std::string UnescapeHtmlText(std::string_view text);

}  // namespace parlavo::server
