#include "engines/engine_chain.h"

#include <cstdio>
#include <exception>
#include <stdexcept>

namespace parlavo::server {

namespace {

void WriteToStandardError(const std::string& line) { std::fprintf(stderr, "parlavo-service：%s\n", line.c_str()); }

}  // namespace

EngineChain::EngineChain(std::vector<Link> links, std::chrono::steady_clock::duration coolDown, Log log)
    : m_links(std::move(links)),
      m_coolDown(coolDown),
      m_log(log ? std::move(log) : Log(WriteToStandardError)),
      m_coolDowns(m_links.size()) {
  if (m_links.empty()) throw std::invalid_argument("EngineChain needs at least one engine");
}

Detection EngineChain::Detect(const std::string& text) { return DetectLanguage(text); }

std::string EngineChain::Translate(const std::string& text, const std::string& source, const std::string& target) {
  return Answer(text, source, target).text;
}

Translation EngineChain::Answer(const std::string& text, const std::string& source, const std::string& target) {
  std::string firstFailure;  // why the first engine did not answer
  std::exception_ptr lastFailure;
  for (std::size_t i = 0; i < m_links.size(); ++i) {
    const Link& link = m_links[i];
    const bool hasNext = i + 1 < m_links.size();
    if (link.online && hasNext) {
      if (auto reason = CoolingReason(i)) {
        if (i == 0) firstFailure = std::move(*reason);
        continue;
      }
    }
    const auto failed = [&](const std::exception& error) {
      if (i == 0) firstFailure = error.what();
      lastFailure = std::current_exception();
    };
    try {
      std::string translation = link.engine->Translate(text, source, target);
      return {std::move(translation), link.name, i == 0 ? std::string() : firstFailure + "，已改用" + link.title};
    } catch (const UpstreamError& error) {
      // Only a failure says something about the next request; a rejection
      // is about this one.
      if (link.online && hasNext) StartCoolDown(i, error.what());
      failed(error);
    } catch (const UpstreamRejection& error) {
      failed(error);
    } catch (const UnsupportedLanguagePair& error) {
      failed(error);
    }
  }
  std::rethrow_exception(lastFailure);
}

std::optional<std::string> EngineChain::CoolingReason(std::size_t link) const {
  std::lock_guard lock(m_mutex);
  const CoolDown& coolDown = m_coolDowns[link];
  if (std::chrono::steady_clock::now() >= coolDown.until) return std::nullopt;
  return coolDown.reason;
}

void EngineChain::StartCoolDown(std::size_t link, const std::string& reason) {
  const auto now = std::chrono::steady_clock::now();
  {
    std::lock_guard lock(m_mutex);
    CoolDown& coolDown = m_coolDowns[link];
    // Requests that were under way when the engine failed fail too: one line.
    if (now < coolDown.until) return;
    coolDown = {now + m_coolDown, reason};
  }
  const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(m_coolDown).count();
  m_log(reason + "；" + std::to_string(seconds) + " 秒内改用下一个翻译引擎，不再尝试 " + m_links[link].title);
}

}  // namespace parlavo::server
