#include "net/web_fetch.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <string_view>

#include "net/ansi_code_page.h"
#include "net/line_splitter.h"
#include "net/text_encoding.h"
#include "text/loopback_host.h"

namespace parlavo {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kAgent = "Parlavo";
constexpr long kMaxRedirects = 10;

struct Transfer {
  explicit Transfer(LineSplitter::LineHandler onLine, const FetchLimits& limits)
      : splitter(std::move(onLine)), maxBytes(limits.maxBodyBytes), stallTimeout(limits.stallTimeout) {}

  LineSplitter splitter;
  std::size_t maxBytes;
  std::chrono::milliseconds stallTimeout;
  Clock::time_point lastActivity = Clock::now();
  std::size_t received = 0;
  bool tooLarge = false;
  bool stalled = false;
  bool stoppedOnPurpose = false;
};

// Once connected, the stall clock runs from the last byte that arrived.
int OnConnected(void* user, char*, char*, int, int) {
  static_cast<Transfer*>(user)->lastActivity = Clock::now();
  return CURL_PREREQFUNC_OK;
}

std::size_t OnHeaderBytes(char*, std::size_t size, std::size_t count, void* user) {
  static_cast<Transfer*>(user)->lastActivity = Clock::now();
  return size * count;
}

int OnProgress(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
  auto& transfer = *static_cast<Transfer*>(user);
  if (Clock::now() - transfer.lastActivity < transfer.stallTimeout) return 0;
  transfer.stalled = true;
  return 1;
}

std::size_t OnBodyBytes(char* data, std::size_t size, std::size_t count, void* user) {
  auto& transfer = *static_cast<Transfer*>(user);
  const std::size_t bytes = size * count;
  transfer.lastActivity = Clock::now();
  transfer.received += bytes;
  if (transfer.received > transfer.maxBytes) {
    transfer.tooLarge = true;
    return 0;
  }
  if (!transfer.splitter.Feed(std::string_view(data, bytes))) {
    transfer.stoppedOnPurpose = true;
    return 0;
  }
  return bytes;
}

// The host of an address as libcurl reads it, and its port if it names one.
struct Authority {
  std::string host;
  std::string port;
};

Authority AuthorityOf(const Text& url) {
  Authority authority;
  std::unique_ptr<CURLU, decltype(&curl_url_cleanup)> parsed(curl_url(), curl_url_cleanup);
  if (!parsed || curl_url_set(parsed.get(), CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK)
    return authority;
  const auto part = [&parsed](CURLUPart which, std::string& out) {
    char* text = nullptr;
    if (curl_url_get(parsed.get(), which, &text, 0) != CURLUE_OK) return;
    out = text;
    curl_free(text);
  };
  part(CURLUPART_HOST, authority.host);
  part(CURLUPART_PORT, authority.port);
  return authority;
}

// "host" or "host:port" of the address, for messages; UTF-8.
std::string HostOf(const Text& url) {
  const Authority authority = AuthorityOf(url);
  std::string host = authority.host.empty() ? url : authority.host;
  if (!authority.host.empty() && !authority.port.empty()) host += ":" + authority.port;
  AnsiToUtf8(host);
  return host;
}

std::string Reason(CURLcode code, const Transfer& transfer, const std::string& host) {
  if (code == CURLE_WRITE_ERROR && transfer.tooLarge)
    return "服务器 " + host + " 的回复过大（超过 " + std::to_string(transfer.maxBytes / 1024) + " KiB）";
  if (code == CURLE_ABORTED_BY_CALLBACK && transfer.stalled) return "服务器 " + host + " 响应超时";
  switch (code) {
    case CURLE_COULDNT_RESOLVE_HOST:
      return "无法解析服务器地址 " + host;
    case CURLE_COULDNT_RESOLVE_PROXY:
      return "无法解析代理服务器地址（访问 " + host + " 时）";
    case CURLE_COULDNT_CONNECT:
      return "无法连接到服务器 " + host;
    case CURLE_OPERATION_TIMEDOUT:
      return "服务器 " + host + " 响应超时";
    case CURLE_TOO_MANY_REDIRECTS:
      return "服务器 " + host + " 重定向次数过多";
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
      return "与服务器 " + host + " 的连接中断";
    default:
      return "与服务器 " + host + " 通信失败（错误 " + std::to_string(static_cast<int>(code)) + "）";
  }
}

// Returns false when the address cannot be opened at all (the "no reply"
// case); throws InternetError for everything that goes wrong on the way.
bool Perform(const Text& url, const FetchLimits& limits, Transfer& transfer) {
  static std::once_flag initialised;
  std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
  if (url.size() > MAX_ADDRESS_BYTES)
    throw InternetError("网络错误：发往服务器 " + HostOf(url) + " 的请求过长（文本太长），请分段翻译");

  std::unique_ptr<CURL, decltype(&curl_easy_cleanup)> handle(curl_easy_init(), curl_easy_cleanup);
  if (!handle) throw std::bad_alloc();
  CURL* curl = handle.get();
  curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
  curl_easy_setopt(curl, CURLOPT_USERAGENT, kAgent);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, kMaxRedirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits.connectTimeout.count()));
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PREREQFUNCTION, OnConnected);
  curl_easy_setopt(curl, CURLOPT_PREREQDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeaderBytes);
  curl_easy_setopt(curl, CURLOPT_HEADERDATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
  curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, OnProgress);
  curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &transfer);
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBodyBytes);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
  // An empty proxy overrides http_proxy and friends; other hosts follow them.
  if (IsLoopbackHost(AuthorityOf(url).host)) curl_easy_setopt(curl, CURLOPT_PROXY, "");

  const CURLcode code = curl_easy_perform(curl);
  if (code == CURLE_OK) return true;
  if (code == CURLE_WRITE_ERROR && transfer.stoppedOnPurpose) return true;
  if (code == CURLE_URL_MALFORMAT || code == CURLE_UNSUPPORTED_PROTOCOL) return false;
  throw InternetError("网络错误：" + Reason(code, transfer, HostOf(url)));
}

}  // namespace

Text FetchUrlText(Text url, const FetchLimits& limits) {
  Text body;
  Transfer transfer(
      [&body](const Text& line) {
        body += line;
        return true;
      },
      limits);
  if (!Perform(url, limits, transfer)) return {};
  transfer.splitter.Finish();
  return body;
}

Text FetchMatchingLine(Text url, Text key, const FetchLimits& limits) {
  if (key.empty() || url.empty()) return {};
  Text match;
  Transfer transfer(
      [&match, &key](const Text& line) {
        if (Find(line, key) == Text::npos) return true;
        match = line;
        return false;
      },
      limits);
  if (!Perform(url, limits, transfer)) return {};
  transfer.splitter.Finish();
  return match;
}

}  // namespace parlavo
