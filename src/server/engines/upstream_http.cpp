#include "engines/upstream_http.h"

#include <curl/curl.h>

#include <algorithm>
#include <memory>

#include "engines/desktop_proxy.h"
#include "engines/translation_engine.h"

namespace parlavo::server {

namespace {

using std::chrono::milliseconds;

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
  void operator()(char* text) const { curl_free(text); }
};

void InitialiseCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

thread_local ConnectAllowance* t_allowance = nullptr;

// A growing string holds up to twice its length, and three times while it
// moves to a larger block.
constexpr std::size_t kHeldPerBodyByte = 3;

struct Body {
  UpstreamReply& reply;
  std::size_t limit;
  bool tooLarge = false;
  bool overBudget = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* target) {
  auto* body = static_cast<Body*>(target);
  const std::size_t bytes = size * count;
  const ReplyCharge charge = body->reply.body.size() + bytes > body->limit
                                 ? ReplyCharge::TooLarge
                                 : ChargeReply(body->reply, kHeldPerBodyByte * bytes);
  if (charge != ReplyCharge::Taken) {
    body->tooLarge = charge == ReplyCharge::TooLarge;
    body->overBudget = charge == ReplyCharge::OverBudget;
    return 0;
  }
  body->reply.body.append(data, bytes);
  return bytes;
}

std::string Reason(CURLcode code) {
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST: return "无法解析主机名";
    case CURLE_COULDNT_RESOLVE_PROXY: return "无法解析代理服务器的主机名";
    case CURLE_COULDNT_CONNECT: return "无法建立连接，对方未在运行或拒绝连接";
    case CURLE_OPERATION_TIMEDOUT: return "等待回复超时";
    case CURLE_SSL_CONNECT_ERROR: return "TLS 握手失败";
    case CURLE_PEER_FAILED_VERIFICATION: return "服务器证书无效";
    case CURLE_GOT_NOTHING: return "对方没有回复就关闭了连接";
    case CURLE_RECV_ERROR: return "接收数据出错";
    case CURLE_SEND_ERROR: return "发送数据出错";
    case CURLE_UNSUPPORTED_PROTOCOL: return "不支持该地址的协议";
    case CURLE_URL_MALFORMAT: return "地址格式错误";
    default: return std::string("网络错误（curl 错误 ") + std::to_string(static_cast<int>(code)) + "）";
  }
}

// Failures before a connection was made: the next request would meet them too.
bool NeverConnected(CURLcode code) {
  return code == CURLE_COULDNT_RESOLVE_HOST || code == CURLE_COULDNT_RESOLVE_PROXY || code == CURLE_COULDNT_CONNECT ||
         code == CURLE_SSL_CONNECT_ERROR || code == CURLE_PEER_FAILED_VERIFICATION;
}

std::string UrlPart(CURLU* url, CURLUPart part) {
  char* text = nullptr;
  if (curl_url_get(url, part, &text, 0) != CURLUE_OK) return {};
  const std::unique_ptr<char, CurlDeleter> owned(text);
  return text;
}

std::unique_ptr<CURLU, CurlDeleter> ParseUrl(const std::string& url) {
  std::unique_ptr<CURLU, CurlDeleter> parsed(curl_url());
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK) return nullptr;
  return parsed;
}

milliseconds Milliseconds(curl_off_t microseconds) { return milliseconds(microseconds / 1000); }

}  // namespace

// The allowance's bookkeeping, kept out of the header's public face.
struct ConnectAllowanceAccess {
  static milliseconds ConnectTimeout(milliseconds limit) {
    ConnectAllowance* allowance = t_allowance;
    if (!allowance || allowance->m_connected) return limit;
    return std::clamp(allowance->m_allowance - allowance->m_spent, milliseconds(1), limit);
  }
  static void Record(CURL* handle, bool connected) {
    ConnectAllowance* allowance = t_allowance;
    if (!allowance || allowance->m_connected) return;
    curl_off_t waited = 0, appWaited = 0;
    curl_easy_getinfo(handle, connected ? CURLINFO_CONNECT_TIME_T : CURLINFO_TOTAL_TIME_T, &waited);
    if (connected) curl_easy_getinfo(handle, CURLINFO_APPCONNECT_TIME_T, &appWaited);
    allowance->m_spent += Milliseconds(std::max(waited, appWaited));
    allowance->m_connected = connected;
  }
};

namespace {

// A POST when `post` is given.
UpstreamReply Perform(const std::string& url, const UpstreamHeaders& headers, const std::string* post,
                      const UpstreamLimits& limits, std::string_view name) {
  InitialiseCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) throw UpstreamError("无法连接 " + std::string(name) + "：内存不足");
  const auto parsed = ParseUrl(url);
  const std::string host = parsed ? UrlPart(parsed.get(), CURLUPART_HOST) : std::string();
  UpstreamReply reply;
  Body body{reply, limits.maxBodyBytes};
  std::unique_ptr<curl_slist, CurlDeleter> headerList;
  for (const std::string& header : headers) {
    curl_slist* longer = curl_slist_append(headerList.get(), header.c_str());
    if (!longer) throw UpstreamError("无法连接 " + std::string(name) + "：内存不足");
    (void)headerList.release();
    headerList.reset(longer);
  }
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(ConnectAllowanceAccess::ConnectTimeout(limits.connectTimeout).count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(handle, CURLOPT_USERAGENT, "parlavo-service");
  curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headerList.get());
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  const auto proxy = DesktopProxyFor(url, host);
  if (proxy) curl_easy_setopt(handle, CURLOPT_PROXY, proxy->c_str());
  if (post) {
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, post->c_str());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post->size()));
  }
  const CURLcode result = curl_easy_perform(handle);
  curl_off_t connectMicroseconds = 0;
  curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
  ConnectAllowanceAccess::Record(handle, connectMicroseconds > 0);
  if (body.tooLarge) throw UpstreamError(std::string(name) + " 的回复过大");
  if (body.overBudget) throw UpstreamError(std::string(name) + " 的回复超出内存预算", FailureKind::OverBudget);
  const std::string where = "无法连接 " + std::string(name) + "（" + HostOf(url) + "）：";
  if (result == CURLE_OPERATION_TIMEDOUT && connectMicroseconds == 0) {
    throw UpstreamError(where + "连接超时", FailureKind::Unreachable);
  }
  if (result != CURLE_OK) {
    throw UpstreamError(where + Reason(result), NeverConnected(result) ? FailureKind::Unreachable : FailureKind::Faulty);
  }
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.status);
  return reply;
}

}  // namespace

ReplyCharge ChargeReply(UpstreamReply& reply, std::size_t bytes) {
  if (reply.memory.bytes() + bytes > kMaxReplyMemory) return ReplyCharge::TooLarge;
  return reply.memory.Grow(bytes) ? ReplyCharge::Taken : ReplyCharge::OverBudget;
}

ConnectAllowance::ConnectAllowance(milliseconds allowance) : m_allowance(allowance), m_outer(t_allowance) {
  t_allowance = this;
}

ConnectAllowance::~ConnectAllowance() { t_allowance = m_outer; }

UpstreamReply UpstreamGet(const std::string& url, const UpstreamHeaders& headers, const UpstreamLimits& limits,
                          std::string_view name) {
  return Perform(url, headers, nullptr, limits, name);
}

UpstreamReply UpstreamPost(const std::string& url, const UpstreamHeaders& headers, const std::string& body,
                           const UpstreamLimits& limits, std::string_view name) {
  return Perform(url, headers, &body, limits, name);
}

std::string HostOf(const std::string& url) {
  const auto parsed = ParseUrl(url);
  if (!parsed) return "?";
  const std::string host = UrlPart(parsed.get(), CURLUPART_HOST);
  const std::string port = UrlPart(parsed.get(), CURLUPART_PORT);
  if (host.empty()) return "?";
  return port.empty() ? host : host + ":" + port;
}

bool IsWebAddress(const std::string& url) {
  const auto parsed = ParseUrl(url);
  if (!parsed) return false;
  const std::string scheme = UrlPart(parsed.get(), CURLUPART_SCHEME);
  return (scheme == "http" || scheme == "https") && !UrlPart(parsed.get(), CURLUPART_HOST).empty();
}

}  // namespace parlavo::server
