#include "engines/libretranslate_engine.h"

#include <nlohmann/json.hpp>

#include "engines/language_codes.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr std::string_view kName = "LibreTranslate";

// LibreTranslate names Chinese "zh" (and traditional Chinese "zt").
std::string ToUpstream(const std::string& code) {
  if (code.empty()) return "auto";
  if (FamilyOf(code) == LanguageFamily::Chinese) return "zh";
  return Lower(code);
}

std::string FromUpstream(const std::string& code) {
  const std::string lower = Lower(code);
  if (lower == "zh" || lower == "zh-hans") return "zh-CN";
  if (lower == "zt" || lower == "zh-hant") return "zh-TW";
  return code;
}

std::string ErrorText(const json& reply) {
  if (reply.is_object() && reply.contains("error") && reply["error"].is_string()) {
    return reply["error"].get<std::string>();
  }
  return {};
}

// The parsed body of a successful reply; anything else becomes the error
// the envelope reports.
json Call(const std::string& url, const json& request, const UpstreamLimits& limits) {
  const UpstreamReply reply = UpstreamPostJson(url, request.dump(), limits, kName);
  const json body = json::parse(reply.body, nullptr, false);
  const std::string error = ErrorText(body);
  const std::string detail = error.empty() ? std::string() : "：" + error;
  if (reply.status == 429) {
    throw UpstreamError("LibreTranslate 限制了请求频率（HTTP 429），请稍后再试" + detail);
  }
  if (reply.status == 400) throw UpstreamRejection("LibreTranslate 拒绝了请求" + detail);
  if (reply.status == 403) throw UpstreamError("LibreTranslate 拒绝访问（HTTP 403），可能需要 API 密钥" + detail);
  if (reply.status != 200) {
    throw UpstreamError("LibreTranslate 出错（HTTP " + std::to_string(reply.status) + "）" + detail);
  }
  if (body.is_discarded()) throw UpstreamError("LibreTranslate 的回复无法识别");
  return body;
}

}  // namespace

LibreTranslateEngine::LibreTranslateEngine(std::string baseUrl, UpstreamLimits limits)
    : m_baseUrl(std::move(baseUrl)), m_limits(limits) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

Detection LibreTranslateEngine::Detect(const std::string& text) {
  const json body = Call(m_baseUrl + "/detect", json{{"q", text}}, m_limits);
  if (!body.is_array()) throw UpstreamError("LibreTranslate 的回复无法识别");
  if (body.empty()) return {};
  const json& best = body.front();
  if (!best.is_object() || !best.contains("language") || !best["language"].is_string()) {
    throw UpstreamError("LibreTranslate 的回复无法识别");
  }
  const double confidence = best.contains("confidence") && best["confidence"].is_number()
                                ? best["confidence"].get<double>() / 100.0
                                : 0.0;
  return {FromUpstream(best["language"].get<std::string>()), confidence >= 0.5, confidence};
}

std::string LibreTranslateEngine::Translate(const std::string& text, const std::string& source,
                                            const std::string& target) {
  const json request{{"q", text}, {"source", ToUpstream(source)}, {"target", ToUpstream(target)}, {"format", "text"}};
  const json body = Call(m_baseUrl + "/translate", request, m_limits);
  if (!body.is_object() || !body.contains("translatedText") || !body["translatedText"].is_string()) {
    throw UpstreamError("LibreTranslate 的回复中没有译文");
  }
  return body["translatedText"].get<std::string>();
}

}  // namespace parlavo::server
