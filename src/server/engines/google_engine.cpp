#include "engines/google_engine.h"

#include <nlohmann/json.hpp>

#include "engines/language_codes.h"
#include "engines/text_chunks.h"
#include "text/percent_coding.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

std::string ToGoogle(const std::string& code) {
  if (code.empty()) return "auto";
  const std::string lower = ToLowerAscii(code);
  if (lower == "zh" || lower == "zh-cn") return "zh-CN";
  if (lower == "zh-tw") return "zh-TW";
  return code;
}

// The reply is [[["译文","source",...], ...], null, "en", ...]: the
// translation comes in segments, one per sentence.
std::string JoinSegments(const json& reply) {
  std::string translation;
  if (!reply.is_array() || reply.empty()) throw UpstreamError("Google 翻译的回复无法识别");
  const json& segments = reply.front();
  if (segments.is_null()) return translation;
  if (!segments.is_array()) throw UpstreamError("Google 翻译的回复无法识别");
  for (const json& segment : segments) {
    if (segment.is_array() && !segment.empty() && segment.front().is_string()) {
      translation += segment.front().get<std::string>();
    }
  }
  return translation;
}

}  // namespace

GoogleEngine::GoogleEngine(std::string baseUrl, UpstreamLimits limits)
    : m_baseUrl(std::move(baseUrl)), m_limits(limits) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

Detection GoogleEngine::Detect(const std::string& text) { return DetectLanguage(text); }

std::string GoogleEngine::Translate(const std::string& text, const std::string& source, const std::string& target) {
  return TranslateInChunks(text, kMaxChunkChars, m_limits.wholeTextTimeout,
                           [&](const std::string& chunk) { return TranslateChunk(chunk, source, target); });
}

std::string GoogleEngine::TranslateChunk(const std::string& text, const std::string& source,
                                         const std::string& target) const {
  // The text goes in the body: 5 000 Chinese characters percent-encoded are
  // far longer than web servers take in an address.
  const std::string url = m_baseUrl + "/translate_a/single?client=gtx&sl=" + PercentEncodeReserved(ToGoogle(source)) +
                          "&tl=" + PercentEncodeReserved(ToGoogle(target)) + "&dt=t";
  const UpstreamReply reply =
      UpstreamPost(url, "application/x-www-form-urlencoded", "q=" + PercentEncodeReserved(text), m_limits, "Google 翻译");
  if (reply.status == 429) throw UpstreamError("Google 翻译限制了请求频率（HTTP 429）");
  if (reply.status == 403 || (reply.status >= 300 && reply.status < 400)) {
    throw UpstreamError("Google 翻译拒绝了请求（HTTP " + std::to_string(reply.status) + "），本机地址可能已被暂时封锁");
  }
  if (reply.status == 400) throw UpstreamRejection("Google 翻译拒绝了请求（HTTP 400），可能不支持该语言对");
  if (reply.status != 200) throw UpstreamError("Google 翻译出错（HTTP " + std::to_string(reply.status) + "）");
  const std::string translation = JoinSegments(json::parse(reply.body, nullptr, false));
  if (translation.empty()) throw UpstreamError("Google 翻译没有返回译文");
  return translation;
}

}  // namespace parlavo::server
