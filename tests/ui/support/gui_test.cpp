#include "gui_test.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <wx/app.h>
#include <wx/utils.h>

namespace parlavo::testing {

void ProcessEvents() { wxTheApp->Yield(true); }

void PumpEvents(std::chrono::milliseconds duration) {
  WaitUntil([] { return false; }, duration);
}

bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    ProcessEvents();
    if (condition()) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    wxMilliSleep(5);
  }
}

bool WaitUntilOnScreen(const wxWindow& window, std::chrono::milliseconds timeout) {
  return WaitUntil(
      [&window] {
        GtkWidget* widget = window.GetHandle();
        return widget != nullptr && gtk_widget_get_mapped(widget) && window.IsShownOnScreen();
      },
      timeout);
}

wxImage GrabScreen(const wxRect& screenRect) {
  gdk_display_sync(gdk_display_get_default());
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_screen_get_root_window(gdk_screen_get_default()),
                                                 screenRect.x, screenRect.y, screenRect.width,
                                                 screenRect.height);
  if (pixbuf == nullptr) return {};
  const int width = gdk_pixbuf_get_width(pixbuf);
  const int height = gdk_pixbuf_get_height(pixbuf);
  const int stride = gdk_pixbuf_get_rowstride(pixbuf);
  const int channels = gdk_pixbuf_get_n_channels(pixbuf);
  const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  wxImage image(width, height, false);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const guchar* pixel = pixels + y * stride + x * channels;
      image.SetRGB(x, y, pixel[0], pixel[1], pixel[2]);
    }
  }
  g_object_unref(pixbuf);
  return image;
}

wxRect ScreenRectOf(const wxWindow& window) { return window.GetScreenRect(); }

ScopedFrame::ScopedFrame(const wxRect& rect, bool show, long style, const wxColour& colour)
    : m_frame(new wxFrame(nullptr, wxID_ANY, wxString::FromUTF8("测试窗口"), rect.GetPosition(), rect.GetSize(),
                          style)) {
  if (colour.IsOk()) m_frame->SetBackgroundColour(colour);
  if (show) {
    m_frame->Show();
    WaitUntilOnScreen(*m_frame);
  }
}

// Destroy() would wait for the main loop's idle time, which tests lack.
ScopedFrame::~ScopedFrame() { delete m_frame; }

WhileModal::WhileModal(std::function<void(wxDialog&)> whileShown) : m_whileShown(std::move(whileShown)) {
  Register();
}

WhileModal::~WhileModal() { Unregister(); }

int WhileModal::Enter(wxDialog* dialog) {
  ++m_shownCount;
  // Runs once the dialog's modal loop is going, so the dialog is live.
  dialog->CallAfter([this, dialog] {
    if (WaitUntilOnScreen(*dialog))
      m_whileShown(*dialog);
    else
      ADD_FAILURE() << "the modal dialog \"" << dialog->GetTitle().utf8_string() << "\" did not appear on screen";
    if (dialog->IsModal()) {
      ADD_FAILURE() << "the modal dialog \"" << dialog->GetTitle().utf8_string() << "\" was left open";
      dialog->EndModal(wxID_CANCEL);
    }
  });
  return wxID_NONE;
}

void WhileModal::Exit(wxDialog*) {}

int GtestModalHook::Enter(wxDialog* dialog) {
  const int answer = wxTestingModalHook::Enter(dialog);
  return answer == wxID_NONE ? wxID_CANCEL : answer;
}

void GtestModalHook::ReportFailure(const wxString& message) { ADD_FAILURE() << message.utf8_string(); }

}  // namespace parlavo::testing
