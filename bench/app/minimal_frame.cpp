// The yardstick for the application's start-up and memory: the least a
// wxWidgets program can show with the application's Chinese texts, a frame
// that draws them in the application's font, built like the application and,
// like it, in the user's locale. Loading the CJK font and GTK's translations
// is then on both sides.
#include <clocale>
#include <initializer_list>

#include <wx/app.h>
#include <wx/dcclient.h>
#include <wx/frame.h>

#include "ui/dialog_font.h"

namespace {

class TextFrame : public wxFrame {
 public:
  TextFrame() : wxFrame(nullptr, wxID_ANY, wxS("帕拉沃v2.0 Parlo ")) {
    SetFont(parlavo::MakeDialogFont());
    Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
      wxPaintDC dc(this);
      dc.SetFont(GetFont());
      int y = 0;
      for (const wchar_t* text : {L"帮助", L"检测升级", L"关于", L"翻译", L"中文", L"英文", L"自动检测", L"->"}) {
        dc.DrawText(text, 0, y);
        y += dc.GetCharHeight();
      }
    });
  }
};

class MinimalApp : public wxApp {
 public:
  bool OnInit() override {
    (new TextFrame)->Show();
    return true;
  }
};

}  // namespace

wxIMPLEMENT_APP_NO_MAIN(MinimalApp);

int main(int argc, char** argv) {
  std::setlocale(LC_ALL, "");
  return wxEntry(argc, argv);
}
