#include <gtk/gtk.h>

#include <vector>

#include <wx/frame.h>

#include "ui/about_dialog.h"
#include "window_test.h"

namespace parlavo::testing {
namespace {

// The pixels of the lower box's text area as the X server shows them.
struct Picture {
  std::vector<guchar> rgb;  // row by row
  int width = 0, height = 0;
  bool operator==(const Picture&) const = default;

  bool At(int x, int y) const {
    const guchar* p = &rgb[3 * (y * width + x)];
    return p[0] == 255 && p[1] == 123 && p[2] == 123;
  }
  // Whether the frame's colour is on exactly the one-pixel edge of the area
  // (or nowhere, unless `framed`).
  bool Framed(bool framed = true) const {
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        if (At(x, y) != (framed && (x == 0 || y == 0 || x == width - 1 || y == height - 1))) return false;
    return width > 2 && height > 2;
  }
};

Picture TakePicture(wxTextCtrl& box) {
  GtkWidget* view = gtk_bin_get_child(GTK_BIN(box.GetHandle()));
  GtkWidget* top = gtk_widget_get_toplevel(view);
  int x = 0, y = 0, left = 0, topY = 0;
  gtk_widget_translate_coordinates(view, top, 0, 0, &x, &y);
  gdk_window_get_origin(gtk_widget_get_window(top), &left, &topY);
  const int width = gtk_widget_get_allocated_width(view), height = gtk_widget_get_allocated_height(view);
  gdk_display_sync(gdk_display_get_default());
  GdkPixbuf* pixbuf = gdk_pixbuf_get_from_window(gdk_get_default_root_window(), left + x, topY + y, width, height);
  if (pixbuf == nullptr) return {};
  Picture picture{{}, width, height};
  const guchar* pixels = gdk_pixbuf_get_pixels(pixbuf);
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column) {
      const guchar* p = pixels + row * gdk_pixbuf_get_rowstride(pixbuf) + column * gdk_pixbuf_get_n_channels(pixbuf);
      picture.rgb.insert(picture.rgb.end(), p, p + 3);
    }
  g_object_unref(pixbuf);
  return picture;
}

TEST(AboutBox, TheLowerBoxIsFramedOnEveryRepaint) {
  wxFrame owner(nullptr, wxID_ANY, wxS("owner"));
  CAboutDlg dialog(&owner);
  dialog.Show();
  ASSERT_TRUE(WaitUntilOnScreen(dialog));
  auto& donate = *dynamic_cast<wxTextCtrl*>(dialog.FindWindow(IDC_ABOUT_DONATE));
  auto& info = *dynamic_cast<wxTextCtrl*>(dialog.FindWindow(IDC_ABOUT_INFO));
  Picture shown;
  ASSERT_TRUE(WaitUntil([&] { return (shown = TakePicture(donate)).Framed(); })) << "first shown";
  EXPECT_TRUE(TakePicture(info).Framed(false));

  for (int line = 0; line < 40; ++line) donate.AppendText(wxS("\n滚动"));
  donate.ShowPosition(donate.GetLastPosition());
  Picture scrolled;
  EXPECT_TRUE(WaitUntil([&] { return (scrolled = TakePicture(donate)) != shown && scrolled.Framed(); }))
      << "after scrolling";

  {
    wxFrame cover(nullptr, wxID_ANY, wxString(), dialog.GetScreenPosition(), dialog.GetSize(),
                  wxBORDER_NONE | wxSTAY_ON_TOP);
    cover.SetBackgroundColour(*wxBLUE);
    cover.Show();
    ASSERT_TRUE(WaitUntil([&] { return TakePicture(donate).Framed(false); })) << "the cover did not hide the box";
  }
  EXPECT_TRUE(WaitUntil([&] { return TakePicture(donate).Framed(); })) << "after uncovering";
}

}  // namespace
}  // namespace parlavo::testing
