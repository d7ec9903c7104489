#include "ui/vertical_scroll_bar.h"

#include <gtk/gtk.h>

namespace parlavo {

void ShowVerticalScrollBar(wxTextCtrl& box) {
  // A multi-line wxTextCtrl is a scrolled window holding the text view.
  GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(box.GetHandle());
  GtkPolicyType horizontal = GTK_POLICY_AUTOMATIC;
  gtk_scrolled_window_get_policy(scrolled, &horizontal, nullptr);
  gtk_scrolled_window_set_policy(scrolled, horizontal, GTK_POLICY_ALWAYS);
  gtk_scrolled_window_set_overlay_scrolling(scrolled, FALSE);
}

}  // namespace parlavo
