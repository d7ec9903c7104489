#include "ui/translator_dlg.h"

#include <gdk/gdkwayland.h>
#include <gtk/gtk.h>

#include <initializer_list>

#include <wx/bitmap.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/iconbndl.h>
#include <wx/imagpng.h>
#include <wx/menu.h>
#include <wx/panel.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include "app_icon_png.h"
#include "services/translation_status.h"
#include "ui/about_dialog.h"
#include "ui/command_ids.h"
#include "ui/dialog_font.h"
#include "ui/selection_reader.h"
#include "ui/text_bridge.h"
#include "ui/update_command.h"
#include "ui/vertical_scroll_bar.h"

namespace parlavo {

namespace {

// The layout, in dialog units of the window's font.
struct DialogRect {
  int x, y, width, height;
};
constexpr int CLIENT_WIDTH = 207;
constexpr int CLIENT_HEIGHT = 186;
constexpr DialogRect SOURCE_TEXT_RECT{0, 0, 207, 82};
constexpr DialogRect RESULT_TEXT_RECT{0, 104, 207, 82};
constexpr DialogRect TRANSLATE_RECT{149, 82, 58, 22};
// A closed drop-down list keeps the height the system gives it.
constexpr DialogRect TARGET_LANGUAGE_RECT{83, 86, 60, wxDefaultCoord};
constexpr DialogRect SOURCE_LANGUAGE_RECT{5, 86, 60, wxDefaultCoord};
constexpr DialogRect ARROW_RECT{70, 89, 9, 8};

// Return inserts a line break; lines wrap at the box's width.
constexpr long TEXT_BOX_STYLE = wxTE_MULTILINE | wxTE_BESTWRAP;

// Rendered at build time: rendering the SVG at every start costs time and
// memory for no gain.
wxIconBundle AppIcons() {
  // wx decodes PNG data with its own handler, which nobody registers for us.
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxIconBundle icons;
  for (const IconPng& png : APP_ICON_PNGS) {
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap::NewFromPNGData(png.data, png.size));
    icons.AddIcon(icon);
  }
  return icons;
}

bool IsReturn(const wxKeyEvent& event) {
  return event.GetKeyCode() == WXK_RETURN || event.GetKeyCode() == WXK_NUMPAD_ENTER;
}

}  // namespace

wxBEGIN_EVENT_TABLE(CTranslatorDlg, wxFrame)
  EVT_CHAR_HOOK(CTranslatorDlg::OnCharHook)
  EVT_BUTTON(IDC_TRANSLATE, CTranslatorDlg::OnTranslate)
  EVT_MENU(ID_HELP_ABOUT, CTranslatorDlg::OnAbout)
  EVT_MENU(ID_HELP_CHECKUPDATE, CTranslatorDlg::OnCheckUpdate)
wxEND_EVENT_TABLE()

CTranslatorDlg::CTranslatorDlg(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, wxS("帕拉沃v2.0 Parlo "), wxDefaultPosition, wxDefaultSize,
              wxCAPTION | wxSYSTEM_MENU | wxMINIMIZE_BOX | wxCLOSE_BOX) {
  // Dialog units follow this font, so it comes before any conversion.
  SetFont(MakeDialogFont());
  SetIcons(AppIcons());
  CreateMenu();
  CreateControls();
  // Below the controls, outside the client area that the layout fills; no
  // size grip, as the window keeps its size.
  CreateStatusBar(1, wxSTB_SHOW_TIPS | wxSTB_ELLIPSIZE_END | wxFULL_REPAINT_ON_RESIZE);
  SetClientSize(ConvertDialogToPixels(wxSize(CLIENT_WIDTH, CLIENT_HEIGHT)));
  Centre();
  FillLanguageTable(m_languages);
}

void CTranslatorDlg::CreateMenu() {
  auto* help = new wxMenu;
  help->Append(ID_HELP_CHECKUPDATE, wxS("检测升级"));
  help->AppendSeparator();
  help->Append(ID_HELP_ABOUT, wxS("关于"));
  auto* menuBar = new wxMenuBar;
  menuBar->Append(help, wxS("帮助"));
  SetMenuBar(menuBar);

#ifdef __WXMSW__
  // Only Windows has a system menu an application can extend.
  if (wxMenu* systemMenu = MSWGetSystemMenu()) {
    systemMenu->AppendSeparator();
    systemMenu->Append(IDM_ABOUTBOX, wxS("关于 (&A)..."));
    Bind(wxEVT_MENU, &CTranslatorDlg::OnAbout, this, IDM_ABOUTBOX);
  }
#endif
}

void CTranslatorDlg::CreateControls() {
  auto* panel = new wxPanel(this);
  const auto place = [this](const DialogRect& rect) {
    return wxRect(ConvertDialogToPixels(wxPoint(rect.x, rect.y)),
                  ConvertDialogToPixels(wxSize(rect.width, rect.height)));
  };
  const auto list = [&](wxWindowID id, const DialogRect& rect, std::initializer_list<const wchar_t*> items) {
    const wxRect where = place(rect);
    wxArrayString choices;
    for (const wchar_t* item : items) choices.Add(item);
    auto* box = new wxChoice(panel, id, where.GetPosition(), where.GetSize(), choices);
    box->SetSelection(0);
    return box;
  };

  // Created in tab order.
  const wxRect source = place(SOURCE_TEXT_RECT);
  m_editSource = new wxTextCtrl(panel, IDC_SOURCE_TEXT, wxString(), source.GetPosition(), source.GetSize(),
                                TEXT_BOX_STYLE);
  const wxRect result = place(RESULT_TEXT_RECT);
  m_editResult = new wxTextCtrl(panel, IDC_RESULT_TEXT, wxString(), result.GetPosition(), result.GetSize(),
                                TEXT_BOX_STYLE);
  const wxRect translate = place(TRANSLATE_RECT);
  auto* button = new wxButton(panel, IDC_TRANSLATE, wxS("翻译"), translate.GetPosition(), translate.GetSize());
  button->SetDefault();
  m_cbTarget = list(IDC_TARGET_LANGUAGE, TARGET_LANGUAGE_RECT, {L"中文", L"英文"});
  m_cbSource = list(IDC_SOURCE_LANGUAGE, SOURCE_LANGUAGE_RECT, {L"自动检测"});
  const wxRect arrow = place(ARROW_RECT);
  new wxStaticText(panel, wxID_ANY, wxS("->"), arrow.GetPosition(), arrow.GetSize(), wxALIGN_LEFT);

  for (wxTextCtrl* box : {m_editSource, m_editResult}) {
    ShowVerticalScrollBar(*box);
    box->Bind(wxEVT_CHAR, &CTranslatorDlg::OnTextBoxChar, this);
  }
  m_editSource->SetFocus();
}

// Keys of a dialog: Esc closes, Ctrl+Return presses the default button, and
// so does Return outside the text boxes (in them it breaks the line).
bool CTranslatorDlg::HandleDialogKey(const wxKeyEvent& event, bool inTextBox) {
  const int modifiers = event.GetModifiers();
  if (event.GetKeyCode() == WXK_ESCAPE && modifiers == wxMOD_NONE) {
    Close();
    return true;
  }
  if (IsReturn(event) && (modifiers == wxMOD_CONTROL || (modifiers == wxMOD_NONE && !inTextBox))) {
    PressDefaultButton();
    return true;
  }
  return false;
}

// The hook sees every key before an input method does, so in the text boxes
// the keys wait for wxEVT_CHAR, which comes only for keys the input method
// did not take: Esc then cancels what is being composed instead of closing.
void CTranslatorDlg::OnCharHook(wxKeyEvent& event) {
  const wxWindow* focus = FindFocus();
  if (focus == m_editSource || focus == m_editResult || !HandleDialogKey(event, false)) event.Skip();
}

void CTranslatorDlg::OnTextBoxChar(wxKeyEvent& event) {
  if (!HandleDialogKey(event, true)) event.Skip();
}

void CTranslatorDlg::PressDefaultButton() {
  auto* button = dynamic_cast<wxButton*>(GetDefaultItem());
  if (button == nullptr) return;
  wxCommandEvent press(wxEVT_BUTTON, button->GetId());
  press.SetEventObject(button);
  // A failing command is reported in here, so the key counts as handled
  // either way and never reaches a text box as a line break.
  button->GetEventHandler()->SafelyProcessEvent(press);
}

void CTranslatorDlg::OnTranslate(wxCommandEvent&) {
  wxBusyCursor busy;
  // A failure leaves the line empty.
  SetStatusText(wxString());
  m_strSource = ToText(m_editSource->GetValue());
  const Text targetName = ToText(m_cbTarget->GetStringSelection());
  const Translation translation = Translate(m_languages, m_strSource, targetName);
  m_strResult = translation.text;
  m_editResult->ChangeValue(FromText(m_strResult));
  SetStatusText(FromUtf8(DescribeTranslation(m_languages, translation).c_str()));
}

void CTranslatorDlg::TakeRequest(const WindowRequest& request) {
  GtkWindow* window = GTK_WINDOW(GetHandle());
  if (!request.startupId.empty()) gtk_window_set_startup_id(window, request.startupId.c_str());
  gtk_window_present(window);
  if (!request.translateSelection) return;
  // Wayland offers the selections only to the window that has the keyboard:
  // read once the desktop has given it.
  if (GDK_IS_WAYLAND_DISPLAY(gtk_widget_get_display(GTK_WIDGET(window))) && !IsActive()) {
    // Bound once, however many requests wait.
    Unbind(wxEVT_ACTIVATE, &CTranslatorDlg::OnActivateToRead, this);
    Bind(wxEVT_ACTIVATE, &CTranslatorDlg::OnActivateToRead, this);
    return;
  }
  TranslateSelection();
}

void CTranslatorDlg::OnActivateToRead(wxActivateEvent& event) {
  event.Skip();
  if (!event.GetActive()) return;
  Unbind(wxEVT_ACTIVATE, &CTranslatorDlg::OnActivateToRead, this);
  CallAfter(&CTranslatorDlg::TranslateSelection);
}

void CTranslatorDlg::TranslateSelection() {
  const Selection selection = ReadSelection();
  if (selection.text.empty()) {
    // Nothing to translate: what the boxes hold (typed by the user, or a
    // translation with its text) stays.
    SetStatusText(selection.note);
    return;
  }
  m_editSource->ChangeValue(selection.text);
  PressDefaultButton();
  // After a translation the line names the engine; a failure left it empty.
  const wxString line = GetStatusBar()->GetStatusText();
  if (!line.empty() && !selection.note.empty()) SetStatusText(line + wxS("；") + selection.note);
}

void CTranslatorDlg::OnAbout(wxCommandEvent&) { ShowAboutDialog(this); }

void CTranslatorDlg::OnCheckUpdate(wxCommandEvent&) { RunUpdateCheck(this); }

}  // namespace parlavo
