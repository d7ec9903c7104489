#include "ui/selection_reader.h"

#include <gtk/gtk.h>

#include <algorithm>
#include <optional>

#include "services/translation_client.h"
#include "text/utf8.h"

namespace parlavo {

namespace {

// The selection's bytes, if its owner offers text.
std::optional<std::string> ReadClipboard(GdkAtom which) {
  GtkClipboard* clipboard = gtk_clipboard_get(which);
  // Asked for as raw UTF8_STRING first: GTK's own text reading drops a whole
  // selection over one invalid byte.
  GtkSelectionData* data = gtk_clipboard_wait_for_contents(clipboard, gdk_atom_intern_static_string("UTF8_STRING"));
  if (data != nullptr) {
    const int length = gtk_selection_data_get_length(data);
    std::optional<std::string> bytes;
    if (length >= 0)
      bytes.emplace(reinterpret_cast<const char*>(gtk_selection_data_get_data(data)), static_cast<std::size_t>(length));
    gtk_selection_data_free(data);
    if (bytes) return bytes;
  }
  // Owners that offer only older text forms (STRING, COMPOUND_TEXT).
  gchar* text = gtk_clipboard_wait_for_text(clipboard);
  if (text == nullptr) return std::nullopt;
  std::string bytes(text);
  g_free(text);
  return bytes;
}

}  // namespace

std::string SelectionText(const std::string& bytes, bool& cut) {
  std::string text;
  text.reserve(std::min(bytes.size(), MAX_TEXT_BYTES));
  cut = false;
  for (std::size_t pos = 0; pos < bytes.size();) {
    char32_t c = NextCodePoint(bytes, pos);
    if (c == 0) c = kReplacementCharacter;
    const std::size_t before = text.size();
    AppendUtf8(text, c);
    if (text.size() > MAX_TEXT_BYTES) {
      text.resize(before);
      cut = true;
      break;
    }
  }
  return text;
}

Selection ReadSelection() {
  Selection selection;
  std::optional<std::string> bytes = ReadClipboard(GDK_SELECTION_PRIMARY);
  if (!bytes || bytes->empty()) {
    bytes = ReadClipboard(GDK_SELECTION_CLIPBOARD);
    if (!bytes || bytes->empty()) {
      selection.note = wxS("没有选中的文字");
      return selection;
    }
    selection.note = wxS("没有选中的文字，译的是剪贴板中的文字");
  }
  bool cut = false;
  const std::string text = SelectionText(*bytes, cut);
  selection.text = wxString::FromUTF8(text.data(), text.size());
  if (cut) {
    if (!selection.note.empty()) selection.note += wxS("；");
    selection.note += wxString::Format(wxS("选中的文字太长，只取了开头的 %zu KiB"), MAX_TEXT_BYTES / 1024);
  }
  return selection;
}

}  // namespace parlavo
