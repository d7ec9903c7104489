#pragma once

#include <functional>
#include <string_view>

#include "net/text.h"

namespace parlavo {

// Cuts a byte stream that arrives in pieces into lines. A line ends at LF; a
// CR right before the LF is dropped; a last line without LF still counts.
class LineSplitter {
 public:
  // Return false to stop: no further line is delivered.
  using LineHandler = std::function<bool(const Text& line)>;

  explicit LineSplitter(LineHandler onLine);

  // Returns false once the handler has asked to stop.
  bool Feed(std::string_view bytes);
  // Delivers the unterminated last line, if any.
  bool Finish();

 private:
  void Deliver(Text line);

  LineHandler m_onLine;
  Text m_pending;
  bool m_stopped = false;
};

}  // namespace parlavo
