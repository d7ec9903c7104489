#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include <gtk/gtk.h>

#include <wx/display.h>
#include <wx/iconbndl.h>
#include <wx/stattext.h>

#include "main_window_fixture.h"
#include "ui/dialog_font.h"

namespace parlavo::testing {
namespace {

using Window = MainWindowTest;

std::vector<wxString> Items(const wxChoice& list) {
  const wxArrayString strings = list.GetStrings();
  return {strings.begin(), strings.end()};
}

TEST_F(Window, OpensWithChineseTargetAutomaticDetectionAndTheInputBoxFocused) {
  EXPECT_EQ(m_window->GetTitle(), wxS("帕拉沃v2.0 Parlo "));
  EXPECT_EQ(Items(TargetList()), (std::vector<wxString>{wxS("中文"), wxS("英文")}));
  EXPECT_EQ(TargetList().GetStringSelection(), wxS("中文"));
  EXPECT_EQ(Items(SourceList()), std::vector<wxString>{wxS("自动检测")});
  EXPECT_EQ(SourceList().GetStringSelection(), wxS("自动检测"));
  EXPECT_TRUE(HasKeyboardFocus(InputBox()));
  for (wxTextCtrl* box : {&InputBox(), &ResultBox()}) {
    EXPECT_TRUE(box->IsMultiLine());
    EXPECT_TRUE(box->IsEditable());
    EXPECT_TRUE(box->IsEmpty());
  }
  EXPECT_EQ(TranslateButton().GetLabel(), wxS("翻译"));
  EXPECT_EQ(m_window->GetDefaultItem(), &TranslateButton());
}

TEST_F(Window, HasAFixedSizeInDialogUnitsAndOpensCentred) {
  EXPECT_EQ(m_window->GetFont().GetPointSize(), 9);
  EXPECT_EQ(m_window->GetFont().GetFaceName(), MakeDialogFont().GetFaceName());
  EXPECT_EQ(m_window->GetClientSize(), m_window->ConvertDialogToPixels(wxSize(207, 186)));
  EXPECT_TRUE(m_window->HasFlag(wxMINIMIZE_BOX));
  EXPECT_FALSE(m_window->HasFlag(wxMAXIMIZE_BOX));
  EXPECT_FALSE(m_window->HasFlag(wxRESIZE_BORDER));

  const wxRect screen = wxDisplay(m_window).GetGeometry();
  const wxRect window = m_window->GetRect();
  EXPECT_LE(std::abs((window.x + window.width / 2) - (screen.x + screen.width / 2)), 1);
  EXPECT_LE(std::abs((window.y + window.height / 2) - (screen.y + screen.height / 2)), 1);
}

TEST_F(Window, PlacesEveryControlAtItsDialogUnitRectangle) {
  wxWindow* arrow = nullptr;
  for (wxWindow* child : InputBox().GetParent()->GetChildren())
    if (dynamic_cast<wxStaticText*>(child) != nullptr && child->GetLabel() == wxS("->")) arrow = child;
  ASSERT_NE(arrow, nullptr);

  struct Placement {
    wxWindow* control;
    wxRect dialogUnits;  // a height of -1: the system's height for a closed list
  };
  const Placement placements[] = {
      {&InputBox(), {0, 0, 207, 82}},          {&ResultBox(), {0, 104, 207, 82}},
      {&TranslateButton(), {149, 82, 58, 22}}, {&TargetList(), {83, 86, 60, -1}},
      {&SourceList(), {5, 86, 60, -1}},        {arrow, {70, 89, 9, 8}},
  };
  for (const Placement& placement : placements) {
    const wxRect& units = placement.dialogUnits;
    wxRect expected(m_window->ConvertDialogToPixels(units.GetPosition()),
                    m_window->ConvertDialogToPixels(units.GetSize()));
    if (units.height < 0) expected.height = placement.control->GetBestSize().y;
    SCOPED_TRACE(placement.control->GetId());
    EXPECT_EQ(placement.control->GetRect(), expected);
    // What GTK really gave the widget, not just what wx asked for.
    GtkAllocation allocation;
    gtk_widget_get_allocation(placement.control->GetHandle(), &allocation);
    EXPECT_EQ(wxSize(allocation.width, allocation.height), expected.GetSize());
  }
}

TEST_F(Window, CarriesTheIconAtTheSizesWindowManagersDraw) {
  for (const int side : {16, 32, 48}) {
    const wxIcon icon = m_window->GetIcons().GetIcon(wxSize(side, side), wxIconBundle::FALLBACK_NONE);
    ASSERT_TRUE(icon.IsOk()) << side;
    EXPECT_EQ(icon.GetSize(), wxSize(side, side));
  }
  // The picture at 48 pixels, three to four units of its 64-unit drawing.
  const wxImage picture = wxBitmap(m_window->GetIcons().GetIcon(wxSize(48, 48))).ConvertToImage();
  ASSERT_TRUE(picture.HasAlpha());
  const auto alpha = [&picture](int x, int y) { return picture.GetAlpha(x * 3 / 4, y * 3 / 4); };
  EXPECT_EQ(alpha(32, 32), 255) << "the face between the eyes and the smile";
  EXPECT_EQ(wxColour(picture.GetRed(24, 24), picture.GetGreen(24, 24), picture.GetBlue(24, 24)),
            wxColour(72, 72, 72));
  EXPECT_EQ(alpha(22, 24), 0) << "left eye";
  EXPECT_EQ(alpha(42, 24), 0) << "right eye";
  EXPECT_EQ(alpha(32, 48), 0) << "smile";
  EXPECT_EQ(alpha(1, 1), 0) << "outside the disc";
  int soft = 0;
  for (int x = 0; x < 48; ++x) soft += picture.GetAlpha(x, 12) > 0 && picture.GetAlpha(x, 12) < 255;
  EXPECT_GE(soft, 2) << "the rim is anti-aliased";
}

}  // namespace
}  // namespace parlavo::testing
