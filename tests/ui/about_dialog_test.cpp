#include "ui/about_dialog.h"

#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <algorithm>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include <wx/button.h>
#include <wx/tokenzr.h>
#include <wx/uiaction.h>

#include "gui_test.h"
#include "ui/dialog_font.h"

namespace parlavo {
namespace {

using namespace std::chrono_literals;
using testing::GrabScreen;
using testing::ScopedFrame;
using testing::ScreenRectOf;
using testing::WaitUntil;
using testing::WhileModal;

const std::string MAKER_HOST = PARLAVO_MAKER_HOST;

std::vector<std::string> Lines(const wxString& text) {
  std::vector<std::string> lines;
  for (const wxString& line : wxSplit(text, '\n', '\0')) lines.push_back(line.utf8_string());
  return lines;
}

wxTextCtrl& Box(wxDialog& dialog, int id) {
  auto* box = dynamic_cast<wxTextCtrl*>(dialog.FindWindow(id));
  EXPECT_NE(box, nullptr) << "no text box " << id;
  return *box;
}

// The contact and payment lines may name an address of the maker's site or
// nothing, never anybody's own.
void ExpectOwnAddressAfter(const std::string& line, const std::string& label) {
  ASSERT_EQ(line.substr(0, label.size()), label) << line;
  const std::string value = line.substr(label.size());
  if (!value.empty()) {
    EXPECT_NE(value.find(MAKER_HOST), std::string::npos) << line;
  }
}

void ExpectInfoText(const wxString& text) {
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 8u) << text.utf8_string();
  EXPECT_EQ(lines[0], "作者：柯岚");
  ExpectOwnAddressAfter(lines[1], "博客:");
  ExpectOwnAddressAfter(lines[2], "邮件:");
  ExpectOwnAddressAfter(lines[3], "QQ:");
  EXPECT_EQ(lines[4], "更新记录:");
  EXPECT_EQ(lines[5], "2009-12-22 v1.0 ");
  EXPECT_EQ(lines[6], "2009-12-23 v2.0");
  EXPECT_EQ(lines[7], "软件可能有BUG，请发邮件告知！谢谢哦~");
}

void ExpectDonateText(const wxString& text) {
  const std::vector<std::string> lines = Lines(text);
  ASSERT_EQ(lines.size(), 5u) << text.utf8_string();
  EXPECT_EQ(lines[0], "如果你觉得这款软件不错，干嘛不捐赠一下作者呢？");
  ExpectOwnAddressAfter(lines[1], "支付宝: ");
  ExpectOwnAddressAfter(lines[2], "财付通: ");
  EXPECT_EQ(lines[3], "捐助名单将在柯岚的博客出现~");
  EXPECT_EQ(lines[4], "金额不限~");
}

bool IsFrameColour(const wxImage& image, int x, int y) {
  return image.GetRed(x, y) == 255 && image.GetGreen(x, y) == 123 && image.GetBlue(x, y) == 123;
}

int CountFrameColour(const wxImage& image) {
  int count = 0;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x) count += IsFrameColour(image, x, y);
  return count;
}

// The rectangle that a light-red line outlines in `image`, when the line is
// unbroken on all four sides, one pixel thick, and nothing else in the image
// has its colour.
std::optional<wxRect> FindFrame(const wxImage& image) {
  wxRect bounds;
  for (int y = 0; y < image.GetHeight(); ++y)
    for (int x = 0; x < image.GetWidth(); ++x)
      if (IsFrameColour(image, x, y)) bounds = bounds.IsEmpty() ? wxRect(x, y, 1, 1) : bounds.Union(wxRect(x, y, 1, 1));
  if (bounds.width < 3 || bounds.height < 3) return std::nullopt;
  for (int x = bounds.GetLeft(); x <= bounds.GetRight(); ++x)
    if (!IsFrameColour(image, x, bounds.GetTop()) || !IsFrameColour(image, x, bounds.GetBottom())) return std::nullopt;
  for (int y = bounds.GetTop(); y <= bounds.GetBottom(); ++y)
    if (!IsFrameColour(image, bounds.GetLeft(), y) || !IsFrameColour(image, bounds.GetRight(), y)) return std::nullopt;
  if (CountFrameColour(image) != 2 * bounds.width + 2 * bounds.height - 4) return std::nullopt;
  return bounds;
}

// The colour most pixels inside `rect` have.
wxColour Background(const wxImage& image, const wxRect& rect) {
  std::map<unsigned long, int> counts;
  for (int y = rect.GetTop(); y <= rect.GetBottom(); ++y)
    for (int x = rect.GetLeft(); x <= rect.GetRight(); ++x)
      ++counts[wxColour(image.GetRed(x, y), image.GetGreen(x, y), image.GetBlue(x, y)).GetRGB()];
  const auto most = std::max_element(counts.begin(), counts.end(),
                                     [](const auto& a, const auto& b) { return a.second < b.second; });
  wxColour colour;
  colour.SetRGB(static_cast<wxUint32>(most->first));
  return colour;
}

// The area of a text box that shows text (inside its border, beside its
// scroll bar), in the box's own coordinates.
wxRect VisibleTextArea(wxTextCtrl& box) {
  GtkWidget* scrolled = box.GetHandle();
  GtkWidget* text = gtk_bin_get_child(GTK_BIN(scrolled));
  int x = 0, y = 0;
  gtk_widget_translate_coordinates(text, scrolled, 0, 0, &x, &y);
  return wxRect(x, y, gtk_widget_get_allocated_width(text), gtk_widget_get_allocated_height(text));
}

class AboutDialogTest : public ::testing::Test {
 protected:
  ScopedFrame owner{wxRect(200, 150, 640, 520)};
};

TEST_F(AboutDialogTest, ShowsItsTextsEachTimeItIsOpened) {
  std::vector<wxString> titles;
  WhileModal whileShown([&titles](wxDialog& dialog) {
    titles.push_back(dialog.GetTitle());
    ExpectInfoText(Box(dialog, IDC_ABOUT_INFO).GetValue());
    ExpectDonateText(Box(dialog, IDC_ABOUT_DONATE).GetValue());
    dialog.EndModal(wxID_OK);
  });
  ShowAboutDialog(owner.get());
  ShowAboutDialog(owner.get());
  EXPECT_EQ(whileShown.shownCount(), 2);
  ASSERT_EQ(titles.size(), 2u);
  for (const wxString& title : titles) EXPECT_EQ(title.utf8_string(), "关于 Parlavo 帕拉沃");
}

TEST_F(AboutDialogTest, LaysOutItsControlsInDialogUnitsOfItsOwnFont) {
  CAboutDlg dialog(owner.get());
  const wxFont expectedFont = MakeDialogFont();
  EXPECT_EQ(dialog.GetFont().GetFaceName(), expectedFont.GetFaceName());
  EXPECT_EQ(dialog.GetFont().GetPointSize(), 9);

  const auto pixels = [&dialog](int x, int y, int width, int height) {
    return wxRect(dialog.ConvertDialogToPixels(wxPoint(x, y)), dialog.ConvertDialogToPixels(wxSize(width, height)));
  };
  EXPECT_EQ(dialog.GetClientSize(), pixels(0, 0, 188, 157).GetSize());
  struct Placement {
    int id;
    wxRect rect;
  };
  for (const Placement& placement : {Placement{wxID_OK, pixels(129, 126, 52, 24)},
                                     Placement{IDC_ABOUT_INFO, pixels(7, 7, 174, 59)},
                                     Placement{IDC_ABOUT_DONATE, pixels(7, 70, 174, 50)}}) {
    SCOPED_TRACE(placement.id);
    wxWindow* control = dialog.FindWindow(placement.id);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->GetRect(), placement.rect);
    EXPECT_EQ(control->GetFont().GetFaceName(), expectedFont.GetFaceName());
  }

  // Tab order: the button first, then the two boxes.
  const wxWindowList& children = dialog.GetChildren();
  ASSERT_EQ(children.size(), 3u);
  EXPECT_EQ(children[0]->GetId(), wxID_OK);
  EXPECT_EQ(children[1]->GetId(), IDC_ABOUT_INFO);
  EXPECT_EQ(children[2]->GetId(), IDC_ABOUT_DONATE);

  auto* ok = dynamic_cast<wxButton*>(dialog.FindWindow(wxID_OK));
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->GetLabel().utf8_string(), "确定");
  EXPECT_EQ(dialog.GetDefaultItem(), ok);
}

TEST_F(AboutDialogTest, OpensCentredOnItsOwner) {
  WhileModal whileShown([this](wxDialog& dialog) {
    const wxPoint dialogCentre = ScreenRectOf(dialog).GetPosition() + ScreenRectOf(dialog).GetSize() / 2;
    const wxPoint ownerCentre = ScreenRectOf(*owner.get()).GetPosition() + ScreenRectOf(*owner.get()).GetSize() / 2;
    EXPECT_LE(std::abs(dialogCentre.x - ownerCentre.x), 1);
    EXPECT_LE(std::abs(dialogCentre.y - ownerCentre.y), 1);
    EXPECT_TRUE(dialog.IsModal());
    dialog.EndModal(wxID_OK);
  });
  ShowAboutDialog(owner.get());
  EXPECT_EQ(whileShown.shownCount(), 1);
}

TEST_F(AboutDialogTest, TextBoxesAreReadOnlyWrapAndScrollVertically) {
  WhileModal whileShown([](wxDialog& dialog) {
    for (int id : {IDC_ABOUT_INFO, IDC_ABOUT_DONATE}) {
      SCOPED_TRACE(id);
      wxTextCtrl& box = Box(dialog, id);
      EXPECT_TRUE(box.IsMultiLine());
      EXPECT_FALSE(box.IsEditable());

      // One long line without blanks comes out on several rows of the box.
      box.ChangeValue(wxString(wxUniChar(0x6587), 200));
      ASSERT_TRUE(WaitUntil([&box] {
        wxPoint first = box.PositionToCoords(0), last = box.PositionToCoords(30);
        return first != wxDefaultPosition && last != wxDefaultPosition && last.y > first.y;
      }, 2s));

      // The vertical bar is there all the time, beside the text rather than
      // over it.
      GtkScrolledWindow* scrolled = GTK_SCROLLED_WINDOW(box.GetHandle());
      GtkWidget* bar = gtk_scrolled_window_get_vscrollbar(scrolled);
      GtkWidget* text = gtk_bin_get_child(GTK_BIN(scrolled));
      ASSERT_NE(bar, nullptr);
      EXPECT_TRUE(gtk_widget_get_mapped(bar));
      GtkAllocation barArea, textArea;
      gtk_widget_get_allocation(bar, &barArea);
      gtk_widget_get_allocation(text, &textArea);
      EXPECT_GT(barArea.width, 0);
      EXPECT_GE(barArea.x, textArea.x + textArea.width);
    }
    dialog.EndModal(wxID_OK);
  });
  ShowAboutDialog(owner.get());
}

bool SamePicture(const wxImage& a, const wxImage& b) {
  return a.IsOk() && b.IsOk() && a.GetSize() == b.GetSize() &&
         std::equal(a.GetData(), a.GetData() + 3 * a.GetWidth() * a.GetHeight(), b.GetData());
}

// Fails the test unless the lower box shows its frame along the inside of its
// visible text area, with the upper box's background inside it. Given an
// earlier picture, waits for the box to have been repainted differently.
// Returns the picture of the lower box.
wxImage ExpectFramed(wxDialog& dialog, const wxImage& earlier = wxImage()) {
  wxTextCtrl& donate = Box(dialog, IDC_ABOUT_DONATE);
  std::optional<wxRect> frame;
  wxImage picture;
  const bool found = WaitUntil([&] {
    picture = GrabScreen(ScreenRectOf(donate));
    frame = FindFrame(picture);
    return frame.has_value() && !SamePicture(picture, earlier);
  });
  EXPECT_TRUE(found) << "no complete frame; light-red pixels: " << CountFrameColour(picture);
  if (!found) return picture;
  EXPECT_EQ(*frame, VisibleTextArea(donate));

  wxTextCtrl& info = Box(dialog, IDC_ABOUT_INFO);
  const wxImage upper = GrabScreen(ScreenRectOf(info));
  EXPECT_EQ(CountFrameColour(upper), 0);
  EXPECT_EQ(Background(picture, frame->Deflate(1)), Background(upper, VisibleTextArea(info)));
  return picture;
}

TEST_F(AboutDialogTest, LowerBoxIsFramedOnEveryPaint) {
  WhileModal whileShown([](wxDialog& dialog) {
    wxTextCtrl& donate = Box(dialog, IDC_ABOUT_DONATE);
    SCOPED_TRACE("first shown");
    const wxImage top = ExpectFramed(dialog);

    SCOPED_TRACE("scrolled down");
    for (int line = 1; line <= 40; ++line) donate.AppendText(wxString::Format(wxASCII_STR("\n%d"), line));
    donate.ShowPosition(donate.GetLastPosition());
    ASSERT_TRUE(WaitUntil([&donate] { return donate.PositionToCoords(0).y < 0; })) << "did not scroll";
    const wxImage bottom = ExpectFramed(dialog, top);

    SCOPED_TRACE("scrolled back up");
    donate.ShowPosition(0);
    ASSERT_TRUE(WaitUntil([&donate] { return donate.PositionToCoords(0).y >= 0; })) << "did not scroll";
    ExpectFramed(dialog, bottom);

    SCOPED_TRACE("covered and uncovered");
    {
      ScopedFrame cover(ScreenRectOf(dialog), true, wxBORDER_NONE | wxSTAY_ON_TOP | wxFRAME_NO_TASKBAR, *wxBLUE);
      ASSERT_TRUE(WaitUntil([&donate] { return CountFrameColour(GrabScreen(ScreenRectOf(donate))) == 0; }))
          << "the cover did not hide the box";
    }
    ExpectFramed(dialog);
    dialog.EndModal(wxID_OK);
  });
  ShowAboutDialog(owner.get());
  EXPECT_EQ(whileShown.shownCount(), 1);
}

TEST_F(AboutDialogTest, OkButtonEscapeAndTheCloseBoxEndIt) {
  const auto clickOk = [](wxDialog& dialog) {
    wxWindow* ok = dialog.FindWindow(wxID_OK);
    wxUIActionSimulator user;
    user.MouseMove(ScreenRectOf(*ok).GetPosition() + ScreenRectOf(*ok).GetSize() / 2);
    user.MouseClick();
  };
  const auto pressEscape = [](wxDialog&) { wxUIActionSimulator().Char(WXK_ESCAPE); };
  const auto pressReturn = [](wxDialog&) { wxUIActionSimulator().Char(WXK_RETURN); };
  // What a window manager does when its close box is clicked.
  const auto closeBox = [](wxDialog& dialog) { gtk_window_close(GTK_WINDOW(dialog.GetHandle())); };

  struct Ending {
    const char* name;
    std::function<void(wxDialog&)> act;
  };
  for (const Ending& ending : {Ending{"OK button", clickOk}, Ending{"Esc", pressEscape},
                               Ending{"Return", pressReturn}, Ending{"close box", closeBox}}) {
    SCOPED_TRACE(ending.name);
    WhileModal whileShown([&ending](wxDialog& dialog) {
      dialog.Raise();
      ASSERT_TRUE(WaitUntil([&dialog] {
        wxWindow* focus = wxWindow::FindFocus();
        return focus != nullptr && wxGetTopLevelParent(focus) == &dialog;
      }, 2s)) << "the dialog did not get the keyboard";
      ending.act(dialog);
      EXPECT_TRUE(WaitUntil([&dialog] { return !dialog.IsModal(); }, 3s));
    });
    CAboutDlg dialog(owner.get());
    EXPECT_EQ(dialog.ShowModal(), wxID_OK);
    EXPECT_EQ(whileShown.shownCount(), 1);
  }
}

}  // namespace
}  // namespace parlavo
