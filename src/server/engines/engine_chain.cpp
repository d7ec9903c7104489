#include "engines/engine_chain.h"

#include <algorithm>
#include <exception>
#include <stdexcept>

#include "engines/upstream_http.h"

namespace parlavo::server {

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

std::string ShortReason(const std::string& title, FailureKind kind) {
  switch (kind) {
    case FailureKind::Unreachable: return title + "无法连接";
    case FailureKind::TooManyRequests: return title + "请求过多（429）";
    case FailureKind::Refused: return title + "拒绝了请求";
    case FailureKind::OverBudget: return title + "的回复超出内存预算";
    case FailureKind::Faulty: break;
  }
  return title + "出错";
}

std::string Spoken(Clock::duration duration) {
  const auto ms = std::chrono::duration_cast<milliseconds>(duration).count();
  if (ms >= 120'000 && ms % 60'000 == 0) return std::to_string(ms / 60'000) + " 分钟";
  if (ms % 1000 == 0) return std::to_string(ms / 1000) + " 秒";
  return std::to_string(ms) + " 毫秒";
}

}  // namespace

EngineChain::EngineChain(std::vector<Link> links, Clock::duration firstPause, Log log)
    : m_links(std::move(links)),
      m_firstPause(firstPause),
      m_log(log ? std::move(log) : Log(WriteToStandardError)),
      m_pauses(m_links.size()) {
  if (m_links.empty()) throw std::invalid_argument("EngineChain needs at least one engine");
}

std::string EngineChain::Translate(const std::string& text, const std::string& source, const std::string& target) {
  return Answer(text, source, target).text;
}

Translation EngineChain::Answer(const std::string& text, const std::string& source, const std::string& target) {
  std::vector<std::string> reasons;  // why each link before the answer did not give it
  bool allUnreachable = true;        // ... and whether each online one could not be reached
  std::exception_ptr lastFailure;
  // Taken once, so that the connect shares below count the same engines.
  std::vector<std::optional<FailureKind>> paused(m_links.size());
  for (std::size_t i = 0; i + 1 < m_links.size(); ++i) {
    if (m_links[i].online) paused[i] = Paused(i);
  }
  milliseconds connectLeft = kConnectWait;
  for (std::size_t i = 0; i < m_links.size(); ++i) {
    const Link& link = m_links[i];
    const bool hasNext = i + 1 < m_links.size();
    if (paused[i]) {
      reasons.push_back(ShortReason(link.title, *paused[i]));
      allUnreachable = allUnreachable && *paused[i] == FailureKind::Unreachable;
      continue;
    }
    // Half of what is left, or all of it for the last online engine to try:
    // the first engine, the one most likely to answer, gets the most time for
    // a slow handshake, and those after it still get some.
    bool onlineAfter = false;
    for (std::size_t later = i + 1; later < m_links.size(); ++later) onlineAfter |= m_links[later].online && !paused[later];
    ConnectAllowance allowance(link.online && onlineAfter ? connectLeft / 2 : connectLeft);
    try {
      std::string translation = link.engine->Translate(text, source, target);
      if (link.online) EndPause(i);
      return {std::move(translation), link.name, i == 0 ? std::string() : Details(i, reasons, allUnreachable)};
    } catch (const UpstreamError& error) {
      // Only a failure says something about the next request; a rejection,
      // or the service's want of memory, is about this one.
      if (link.online && hasNext && error.kind() != FailureKind::OverBudget) StartPause(i, error);
      reasons.push_back(ShortReason(link.title, error.kind()));
      allUnreachable = allUnreachable && (!link.online || error.kind() == FailureKind::Unreachable);
      lastFailure = std::current_exception();
    } catch (const UpstreamRejection&) {
      reasons.push_back(ShortReason(link.title, FailureKind::Refused));
      allUnreachable = allUnreachable && !link.online;
      lastFailure = std::current_exception();
    } catch (const UnsupportedLanguagePair&) {
      reasons.push_back(link.title + "不支持该语言对");
      allUnreachable = allUnreachable && !link.online;
      lastFailure = std::current_exception();
    }
    connectLeft -= std::min(connectLeft, allowance.spent());
  }
  std::rethrow_exception(lastFailure);
}

std::string EngineChain::Details(std::size_t answered, const std::vector<std::string>& reasons,
                                 bool allUnreachable) const {
  const auto online = std::count_if(m_links.begin(), m_links.begin() + static_cast<std::ptrdiff_t>(answered),
                                    [](const Link& link) { return link.online; });
  if (allUnreachable && online > 1) return "在线翻译均无法连接";
  return reasons.front();
}

std::optional<FailureKind> EngineChain::Paused(std::size_t link) const {
  std::lock_guard lock(m_mutex);
  const Pause& pause = m_pauses[link];
  if (Clock::now() >= pause.until) return std::nullopt;
  return pause.kind;
}

void EngineChain::StartPause(std::size_t link, const UpstreamError& error) {
  const auto now = Clock::now();
  Clock::duration length;
  {
    std::lock_guard lock(m_mutex);
    Pause& pause = m_pauses[link];
    // Requests that were under way when the engine failed fail too: one line.
    if (now < pause.until) return;
    length = m_firstPause;
    for (int i = 0; i < pause.failures && length < kLongestPause; ++i) length *= 2;
    length = std::min<Clock::duration>(length, kLongestPause);
    pause = {now + length, pause.failures + 1, error.kind()};
  }
  m_log(std::string(error.what()) + "；" + Spoken(length) + "内改用下一个翻译引擎，不再尝试 " + m_links[link].title);
}

void EngineChain::EndPause(std::size_t link) {
  std::lock_guard lock(m_mutex);
  m_pauses[link].failures = 0;
}

}  // namespace parlavo::server
