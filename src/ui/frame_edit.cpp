#include "ui/frame_edit.h"

#include <gtk/gtk.h>

namespace parlavo {

namespace {

constexpr double FRAME_RED = 255 / 255.0;
constexpr double FRAME_GREEN = 123 / 255.0;
constexpr double FRAME_BLUE = 123 / 255.0;

// GTK's text view ignores wx paint events, so the frame is drawn in the
// view's own "draw" signal, after the view has drawn itself: it then
// accompanies every repaint, whether after scrolling, uncovering or a change
// of text. The view is allocated exactly the visible area.
gboolean DrawFrameOverView(GtkWidget* view, cairo_t* cairo, gpointer) {
  const int width = gtk_widget_get_allocated_width(view);
  const int height = gtk_widget_get_allocated_height(view);
  cairo_save(cairo);
  cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
  cairo_set_source_rgb(cairo, FRAME_RED, FRAME_GREEN, FRAME_BLUE);
  cairo_rectangle(cairo, 0, 0, width, 1);
  cairo_rectangle(cairo, 0, height - 1, width, 1);
  cairo_rectangle(cairo, 0, 1, 1, height - 2);
  cairo_rectangle(cairo, width - 1, 1, 1, height - 2);
  cairo_fill(cairo);
  cairo_restore(cairo);
  return FALSE;
}

}  // namespace

CFrameEdit::CFrameEdit(wxWindow* parent, wxWindowID id, const wxPoint& position, const wxSize& size,
                       long style)
    : wxTextCtrl(parent, id, wxString(), position, size, style | wxTE_MULTILINE) {
  // A multi-line wxTextCtrl is a scrolled window holding the text view.
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(GetHandle()));
  g_signal_connect_after(view, "draw", G_CALLBACK(DrawFrameOverView), nullptr);
}

}  // namespace parlavo
