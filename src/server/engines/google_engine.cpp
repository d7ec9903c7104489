#include "engines/google_engine.h"

#include <algorithm>

#include "engines/language_codes.h"
#include "engines/text_chunks.h"
#include "engines/upstream_json.h"
#include "text/percent_coding.h"
#include "text/utf8.h"

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

// Google refuses the form itself, not the text or the client: the same
// text may pass in the address.
bool RefusesTheForm(long status) {
  return status == 400 || status == 404 || status == 405 || status == 411 || status == 413;
}

std::string Translated(UpstreamReply reply) {
  const std::string status = "（HTTP " + std::to_string(reply.status) + "）";
  if (reply.status == 429) throw UpstreamError("Google 翻译限制了请求频率" + status, FailureKind::TooManyRequests);
  if (reply.status == 403 || (reply.status >= 300 && reply.status < 400)) {
    throw UpstreamError("Google 翻译拒绝了请求" + status + "，本机地址可能已被暂时封锁", FailureKind::Refused);
  }
  if (RefusesTheForm(reply.status)) throw UpstreamRejection("Google 翻译拒绝了请求" + status);
  if (reply.status != 200) throw UpstreamError("Google 翻译出错" + status);
  const std::string translation = JoinSegments(ParseUpstreamJson(reply));
  if (translation.empty()) throw UpstreamError("Google 翻译没有返回译文");
  return translation;
}

const UpstreamHeaders kFormHeaders{"Content-Type: application/x-www-form-urlencoded;charset=UTF-8"};

}  // namespace

GoogleEngine::GoogleEngine(std::string baseUrl, UpstreamLimits limits)
    : m_baseUrl(std::move(baseUrl)), m_limits(limits) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

std::string GoogleEngine::Translate(const std::string& text, const std::string& source, const std::string& target) {
  const std::string address = m_baseUrl + "/translate_a/single?client=gtx&ie=UTF-8&oe=UTF-8&sl=" +
                              PercentEncodeReserved(ToGoogle(source)) + "&tl=" +
                              PercentEncodeReserved(ToGoogle(target)) + "&dt=t";
  return TranslateInChunks(text, kMaxChunkChars, m_limits.wholeTextTimeout,
                           [&](const std::string& chunk) { return TranslateChunk(chunk, address); });
}

std::string GoogleEngine::TranslateChunk(const std::string& text, const std::string& address) const {
  // The text goes in the body: 5 000 Chinese characters percent-encoded are
  // far longer than web servers take in an address.
  UpstreamReply reply =
      UpstreamPost(address, kFormHeaders, "q=" + PercentEncodeReserved(text), m_limits, "Google 翻译");
  if (RefusesTheForm(reply.status)) return TranslateByGet(text, address);
  return Translated(std::move(reply));
}

std::string GoogleEngine::TranslateByGet(const std::string& text, const std::string& address) const {
  const std::string query = PercentEncodeReserved(text);
  if (query.size() <= kMaxQueryBytes) {
    return Translated(UpstreamGet(address + "&q=" + query, {}, m_limits, "Google 翻译"));
  }
  // Cut to what fits on average; a piece that still does not is cut again.
  const std::size_t fits = std::max<std::size_t>(1, CountCodePoints(text) * kMaxQueryBytes / query.size());
  return TranslateInChunks(text, fits, m_limits.wholeTextTimeout,
                           [&](const std::string& piece) { return TranslateByGet(piece, address); });
}

}  // namespace parlavo::server
