#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "platform/memory_budget.h"

namespace parlavo::server {

// An upstream that does not answer within these hands the request to the
// next engine.
struct UpstreamLimits {
  std::chrono::milliseconds connectTimeout{2500};  // name lookup, TCP and TLS
  std::chrono::milliseconds totalTimeout{std::chrono::seconds(10)};  // per request, so per chunk of text
  // A long text in many chunks must still be answered before the desktop
  // client gives up on the service (60 s without a byte).
  std::chrono::milliseconds wholeTextTimeout{std::chrono::seconds(40)};
  std::size_t maxBodyBytes = 8u * 1024 * 1024;
};

struct UpstreamReply {
  long status = 0;
  std::string body;
  // What the body and its parse hold of the request's memory budget, given
  // back with the reply.
  MemoryBudget::Share memory = MemoryBudget::ShareOfThisThread();
};

// What a reply may hold while it is read and parsed: more is the upstream's
// fault (a reply too large), as more than 8 MiB of it are. 8 MiB read and
// lexed hold 40 MiB; the rest is for the parsed values.
inline constexpr std::size_t kMaxReplyMemory = 48u * 1024 * 1024;

enum class ReplyCharge { Taken, TooLarge, OverBudget };
// Takes `bytes` more for `reply` from the request's budget: TooLarge past
// kMaxReplyMemory, OverBudget when the budget is spent (the service's want,
// no fault of the upstream's); nothing is taken then.
ReplyCharge ChargeReply(UpstreamReply& reply, std::size_t bytes);

// Request headers as sent ("Referer: https://…"); a User-Agent among them
// replaces the service's own.
using UpstreamHeaders = std::vector<std::string>;

// The web endpoints made for browsers expect one (the same Chrome that
// TranSmart's client key names).
inline constexpr std::string_view kBrowserUserAgent =
    "User-Agent: Mozilla/5.0 (Macintosh; Intel Mac OS X 10_15_7) AppleWebKit/537.36 (KHTML, like Gecko) "
    "Chrome/110.0.0.0 Safari/537.36";

// `name` is how messages call the upstream ("LibreTranslate"). Any HTTP
// status comes back as a reply; a transfer that cannot be completed throws
// UpstreamError saying why, in Chinese, as does a reply that outgrows the
// memory budget of the request on this thread. Addresses on this machine are
// reached directly, others through the proxy the desktop names (libproxy).
UpstreamReply UpstreamGet(const std::string& url, const UpstreamHeaders& headers, const UpstreamLimits& limits,
                          std::string_view name);
UpstreamReply UpstreamPost(const std::string& url, const UpstreamHeaders& headers, const std::string& body,
                           const UpstreamLimits& limits, std::string_view name);

// While it lives, connections made on this thread wait at most `allowance`
// in all until one of them is made (later ones wait as their limits say):
// the engine chain shares one wait among its online engines so that
// unreachable ones cost a request no more than one of them would.
class ConnectAllowance {
 public:
  explicit ConnectAllowance(std::chrono::milliseconds allowance);
  ~ConnectAllowance();
  ConnectAllowance(const ConnectAllowance&) = delete;
  ConnectAllowance& operator=(const ConnectAllowance&) = delete;

  std::chrono::milliseconds spent() const { return m_spent; }

 private:
  friend struct ConnectAllowanceAccess;
  std::chrono::milliseconds m_allowance;
  std::chrono::milliseconds m_spent{0};
  bool m_connected = false;
  ConnectAllowance* m_outer;
};

// "host[:port]" of an http(s) address, as messages name the upstream: never
// the user name or password it may hold. "?" when it cannot be read.
std::string HostOf(const std::string& url);

// Whether libcurl reads `url` as an http:// or https:// address with a host.
bool IsWebAddress(const std::string& url);

}  // namespace parlavo::server
