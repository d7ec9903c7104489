#include "engines/microsoft_engine.h"

#include <charconv>

#include "engines/language_codes.h"
#include "engines/text_chunks.h"
#include "engines/upstream_json.h"
#include "text/percent_coding.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

using nlohmann::json;

constexpr std::string_view kName = "微软翻译";

// Automatic detection is an empty `from`: the endpoint refuses "auto".
std::string ToMicrosoft(const std::string& code) {
  const std::string lower = ToLowerAscii(code);
  if (lower == "zh" || lower == "zh-cn") return "zh-Hans";
  if (lower == "zh-tw") return "zh-Hant";
  return code;
}

// The translation of each paragraph, in order.
std::vector<std::string> Translations(const json& reply) {
  if (!reply.is_array()) throw UpstreamError("微软翻译的回复无法识别");
  std::vector<std::string> translations;
  for (const json& item : reply) {
    const json* text = nullptr;
    if (item.is_object() && item.contains("translations") && item["translations"].is_array() &&
        !item["translations"].empty() && item["translations"][0].is_object()) {
      const json& first = item["translations"][0];
      if (first.contains("text") && first["text"].is_string()) text = &first["text"];
    }
    if (!text) throw UpstreamError("微软翻译的回复中没有译文");
    translations.push_back(UnescapeHtmlText(text->get<std::string>()));
  }
  return translations;
}

void Check(const UpstreamReply& reply) {
  const std::string status = "（HTTP " + std::to_string(reply.status) + "）";
  if (reply.status == 429) throw UpstreamError("微软翻译限制了请求频率" + status, FailureKind::TooManyRequests);
  if (reply.status == 401 || reply.status == 403) {
    throw UpstreamError("微软翻译拒绝了请求" + status + "，接口可能已经改变", FailureKind::Refused);
  }
  if (reply.status == 400) throw UpstreamRejection("微软翻译拒绝了请求" + status);
  if (reply.status != 200) throw UpstreamError("微软翻译出错" + status);
}

}  // namespace

MicrosoftEngine::MicrosoftEngine(std::string baseUrl, UpstreamLimits limits)
    : m_baseUrl(std::move(baseUrl)), m_limits(limits) {
  while (m_baseUrl.ends_with('/')) m_baseUrl.pop_back();
}

std::string MicrosoftEngine::Translate(const std::string& text, const std::string& source,
                                       const std::string& target) {
  const std::string url = m_baseUrl + "/translate/translatetext?from=" + PercentEncodeReserved(ToMicrosoft(source)) +
                          "&to=" + PercentEncodeReserved(ToMicrosoft(target)) + "&isEnterpriseClient=false";
  const UpstreamHeaders headers{"Content-Type: application/json", std::string(kBrowserUserAgent)};
  return TranslateInChunks(text, kMaxChunkChars, m_limits.wholeTextTimeout, [&](const std::string& chunk) {
    return TranslateParagraphs(chunk, kName, [&](const std::vector<std::string>& paragraphs) {
      json request = json::array();
      for (const std::string& paragraph : paragraphs) request.push_back(EscapeHtmlText(paragraph));
      UpstreamReply reply =
          UpstreamPost(url, headers, request.dump(-1, ' ', false, json::error_handler_t::replace), m_limits, kName);
      Check(reply);
      return Translations(ParseUpstreamJson(reply));
    });
  });
}

std::string EscapeHtmlText(std::string_view text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (const char c : text) {
    if (c == '&') escaped += "&amp;";
    else if (c == '<') escaped += "&lt;";
    else if (c == '>') escaped += "&gt;";
    else escaped += c;
  }
  return escaped;
}

std::string UnescapeHtmlText(std::string_view text) {
  static constexpr std::pair<std::string_view, std::string_view> kNamed[] = {
      {"amp;", "&"}, {"lt;", "<"}, {"gt;", ">"}, {"quot;", "\""}, {"apos;", "'"}, {"nbsp;", "\u00A0"}};
  std::string plain;
  plain.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t amp = text.find('&', pos);
    plain += text.substr(pos, amp - pos);
    if (amp == std::string_view::npos) break;
    const std::string_view rest = text.substr(amp + 1);
    pos = amp + 1;
    bool decoded = false;
    for (const auto& [name, value] : kNamed) {
      if (rest.starts_with(name)) {
        plain += value;
        pos += name.size();
        decoded = true;
        break;
      }
    }
    const std::size_t semicolon = rest.find(';');
    if (!decoded && rest.starts_with('#') && semicolon != std::string_view::npos && semicolon <= 8) {
      const bool hex = rest.size() > 1 && (rest[1] == 'x' || rest[1] == 'X');
      const char* first = rest.data() + (hex ? 2 : 1);
      std::uint32_t code = 0;
      const auto [end, error] = std::from_chars(first, rest.data() + semicolon, code, hex ? 16 : 10);
      if (error == std::errc() && end == rest.data() + semicolon && end != first) {
        AppendUtf8(plain, static_cast<char32_t>(code));
        pos += semicolon + 1;
        decoded = true;
      }
    }
    if (!decoded) plain += '&';
  }
  return plain;
}

}  // namespace parlavo::server
