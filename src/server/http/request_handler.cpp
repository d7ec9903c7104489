#include "http/request_handler.h"

#include "detection/language_detector.h"
#include "engines/language_codes.h"
#include "http/envelope.h"
#include "http/query_string.h"
#include "http/request_target.h"
#include "platform/own_names.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

constexpr std::string_view kDetectPath = "/ajax/services/language/detect";
constexpr std::string_view kTranslatePath = "/ajax/services/language/translate";

ServiceReply Error(int status, std::string_view details) { return {status, ErrorEnvelope(status, details), false}; }

ServiceReply Busy() {
  ServiceReply busy = Error(503, "服务繁忙：正在处理的请求已用尽内存预算，请稍后再试");
  busy.closeConnection = true;  // its connection's buffer is freed too
  return busy;
}

// A browser marks the requests a web page makes; a page on another site, or
// on another port of this machine ("same-site"), must not use the service.
bool ComesFromAWebPage(const ServiceRequest& request) {
  for (const std::string& site : request.fetchSites) {
    if (site != "none" && site != "same-origin") return true;
  }
  return !request.origins.empty();
}

}  // namespace

ServiceReply RequestHandler::Handle(const ServiceRequest& request) const {
  ServiceReply reply = Checked(request);
  // A body left unread would be taken for the next request on the connection.
  if (request.hasBody || request.mentionsContentLength) reply.closeConnection = true;
  return reply;
}

bool RequestHandler::IsOurName(std::string_view authority) const {
  const std::string name = HostName(authority);
  return IsAllowedHost(name, m_listenHost) || (m_reachableFromNetwork && NamesThisMachine(name));
}

ServiceReply RequestHandler::Checked(const ServiceRequest& request) const {
  if (request.hasBody) return Error(400, "请求格式错误：本服务的请求不带正文");
  const std::string accepted = m_reachableFromNetwork ? "本机的地址、主机名或 localhost" : m_listenHost + " 或 localhost";
  if (request.hostHeaders.size() != 1 || !IsOurName(request.hostHeaders.front())) {
    return Error(403, "拒绝访问：请求的 Host 不是本服务的地址（只接受 " + accepted + "）");
  }
  if (ComesFromAWebPage(request)) {
    return Error(403, "拒绝访问：请求来自网页（Origin 或 Sec-Fetch-Site），本服务只为本机的程序翻译");
  }
  const auto target = ParseRequestTarget(request.target);
  if (target && !target->authority.empty() && !IsOurName(target->authority)) {
    return Error(403, "拒绝访问：请求的地址不是本服务的地址（只接受 " + accepted + "）");
  }
  if (request.method != "GET" && request.method != "HEAD") {
    ServiceReply reply = Error(405, "不支持的请求方法：" + request.method + "（只支持 GET）");
    reply.allowGetOnly = true;
    return reply;
  }
  if (!target || (target->path != kDetectPath && target->path != kTranslatePath)) {
    return Error(404, "没有这个接口：只有 " + std::string(kDetectPath) + " 和 " + std::string(kTranslatePath));
  }
  const auto parameters = ParseQuery(target->query);
  if (!parameters) return Error(400, "请求参数的百分号编码有误");
  const auto parameter = [&](const char* name) -> const std::string* {
    const auto found = parameters->find(name);
    return found == parameters->end() ? nullptr : &found->second;
  };
  const std::string* version = parameter("v");
  if (!version) return Error(400, "缺少参数 v（协议版本，应为 1.0）");
  if (*version != "1.0") return Error(400, "不支持的协议版本 v=" + *version + "（只支持 1.0）");
  const std::string* text = parameter("q");
  if (!text) return Error(400, "缺少参数 q（要处理的文本）");
  if (text->size() > kMaxTextBytes) return Error(400, "文本过长：最多 1 MiB");
  if (!IsValidUtf8(*text)) return Error(400, "文本不是有效的 UTF-8 编码");
  const std::string* langpair = parameter("langpair");
  if (target->path == kTranslatePath && !langpair) return Error(400, "缺少参数 langpair（语言对，如 en|zh）");

  auto memory = m_budget.Take(kWorkBytesPerTextByte * text->size());
  if (!memory) return Busy();
  // The upstream replies the engines read draw on the same budget.
  const MemoryBudget::ThisThread upstreamMemory(m_budget);
  ServiceReply reply = Answered(*text, target->path == kDetectPath ? nullptr : langpair);
  memory->ShrinkTo(reply.body.size());
  reply.memory = std::move(*memory);
  return reply;
}

ServiceReply RequestHandler::Answered(const std::string& text, const std::string* langpair) const {
  try {
    return langpair ? Translate(text, *langpair) : Detect(text);
  } catch (const UnsupportedLanguagePair& error) {
    return Error(400, error.what());
  } catch (const UpstreamRejection& error) {
    return Error(400, error.what());
  } catch (const UpstreamError& error) {
    if (error.kind() == FailureKind::OverBudget) return Busy();
    return Error(502, error.what());
  } catch (const std::exception& error) {
    return Error(500, std::string("翻译服务内部错误：") + error.what());
  }
}

ServiceReply RequestHandler::Detect(const std::string& text) const {
  return {200, DetectionEnvelope(DetectLanguage(text)), false};
}

ServiceReply RequestHandler::Translate(const std::string& text, const std::string& langpair) const {
  const auto bar = langpair.find('|');
  const std::string source = langpair.substr(0, bar);
  const std::string target = bar == std::string::npos ? std::string() : langpair.substr(bar + 1);
  if (bar == std::string::npos || target.find('|') != std::string::npos || !IsPlainLanguageCode(target) ||
      (!source.empty() && !IsPlainLanguageCode(source))) {
    return Error(400, "语言对无效：“" + langpair + "”（应为 源语言|目标语言，如 en|zh）");
  }
  const Translation translation = m_engine.Answer(text, source, target);
  return {200, TranslationEnvelope(translation.text, translation.engine, translation.details), false};
}

}  // namespace parlavo::server
