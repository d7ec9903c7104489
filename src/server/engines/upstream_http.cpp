#include "engines/upstream_http.h"

#include <curl/curl.h>

#include <memory>

#include "engines/translation_engine.h"

namespace parlavo::server {

namespace {

struct CurlDeleter {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

void InitialiseCurlOnce() {
  static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == CURLE_OK;
  (void)initialised;
}

struct Body {
  std::string text;
  std::size_t limit;
  bool tooLarge = false;
};

std::size_t Collect(char* data, std::size_t size, std::size_t count, void* target) {
  auto* body = static_cast<Body*>(target);
  const std::size_t bytes = size * count;
  if (body->text.size() + bytes > body->limit) {
    body->tooLarge = true;
    return 0;
  }
  body->text.append(data, bytes);
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

// A POST when `contentType` is not empty.
UpstreamReply Perform(const std::string& url, std::string_view contentType, const std::string& post,
                      const UpstreamLimits& limits, std::string_view name) {
  InitialiseCurlOnce();
  std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
  if (!curl) throw UpstreamError("无法连接 " + std::string(name) + "：内存不足");
  Body body{{}, limits.maxBodyBytes};
  std::unique_ptr<curl_slist, CurlDeleter> headers;
  CURL* handle = curl.get();
  curl_easy_setopt(handle, CURLOPT_URL, url.c_str());
  curl_easy_setopt(handle, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(handle, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(handle, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_TIMEOUT_MS, static_cast<long>(limits.totalTimeout.count()));
  curl_easy_setopt(handle, CURLOPT_ACCEPT_ENCODING, "");
  curl_easy_setopt(handle, CURLOPT_USERAGENT, "parlavo-service");
  curl_easy_setopt(handle, CURLOPT_WRITEFUNCTION, Collect);
  curl_easy_setopt(handle, CURLOPT_WRITEDATA, &body);
  if (!contentType.empty()) {
    headers.reset(curl_slist_append(nullptr, ("Content-Type: " + std::string(contentType)).c_str()));
    curl_easy_setopt(handle, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDS, post.c_str());
    curl_easy_setopt(handle, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post.size()));
  }
  const CURLcode result = curl_easy_perform(handle);
  if (body.tooLarge) throw UpstreamError(std::string(name) + " 的回复过大");
  curl_off_t connectMicroseconds = 0;
  curl_easy_getinfo(handle, CURLINFO_CONNECT_TIME_T, &connectMicroseconds);
  if (result == CURLE_OPERATION_TIMEDOUT && connectMicroseconds == 0) {
    throw UpstreamError("无法连接 " + std::string(name) + "（" + HostOf(url) + "）：连接超时");
  }
  if (result != CURLE_OK) {
    throw UpstreamError("无法连接 " + std::string(name) + "（" + HostOf(url) + "）：" + Reason(result));
  }
  UpstreamReply reply;
  curl_easy_getinfo(handle, CURLINFO_RESPONSE_CODE, &reply.status);
  reply.body = std::move(body.text);
  return reply;
}

}  // namespace

UpstreamReply UpstreamGet(const std::string& url, const UpstreamLimits& limits, std::string_view name) {
  return Perform(url, {}, {}, limits, name);
}

UpstreamReply UpstreamPost(const std::string& url, std::string_view contentType, const std::string& body,
                           const UpstreamLimits& limits, std::string_view name) {
  return Perform(url, contentType, body, limits, name);
}

std::string HostOf(std::string_view url) {
  const auto scheme = url.find("://");
  if (scheme != std::string_view::npos) url.remove_prefix(scheme + 3);
  return std::string(url.substr(0, url.find_first_of("/?#")));
}

}  // namespace parlavo::server
