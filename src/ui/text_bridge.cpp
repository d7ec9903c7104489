#include "ui/text_bridge.h"

#include "net/text_encoding.h"

namespace parlavo {

Text ToText(const wxString& text) {
  const wxScopedCharBuffer utf8 = text.utf8_str();
  Text converted(utf8.data(), utf8.length());
  Utf8ToAnsi(converted);
  return converted;
}

wxString FromText(const Text& text) {
  Text utf8 = text;
  AnsiToUtf8(utf8);
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

wxString FromUtf8(const char* text) { return wxString::FromUTF8(text); }

}  // namespace parlavo
