#include "net/line_splitter.h"

#include <utility>

namespace parlavo {

LineSplitter::LineSplitter(LineHandler onLine) : m_onLine(std::move(onLine)) {}

bool LineSplitter::Feed(std::string_view bytes) {
  while (!m_stopped && !bytes.empty()) {
    const std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) {
      m_pending.append(bytes);
      break;
    }
    m_pending.append(bytes.substr(0, lf));
    bytes.remove_prefix(lf + 1);
    if (!m_pending.empty() && m_pending.back() == '\r') m_pending.pop_back();
    Deliver(std::exchange(m_pending, Text()));
  }
  return !m_stopped;
}

bool LineSplitter::Finish() {
  if (!m_stopped && !m_pending.empty()) Deliver(std::exchange(m_pending, Text()));
  return !m_stopped;
}

void LineSplitter::Deliver(Text line) {
  if (!m_onLine(line)) m_stopped = true;
}

}  // namespace parlavo
