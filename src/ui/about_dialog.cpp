#include "ui/about_dialog.h"

#include <initializer_list>
#include <string>

#include <wx/button.h>

#include "services/update_checker.h"
#include "ui/dialog_font.h"
#include "ui/text_bridge.h"
#include "ui/vertical_scroll_bar.h"

namespace parlavo {

namespace {

// Read-only, wrapping at the box width.
constexpr long TEXT_BOX_STYLE = wxTE_MULTILINE | wxTE_READONLY | wxTE_BESTWRAP;

const std::string MAKER_HOST = PARLAVO_MAKER_HOST;

// Line breaks inside wx text controls are "\n" on every platform.
wxString JoinLines(std::initializer_list<std::string> lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + '\n';
  joined.pop_back();
  return wxString::FromUTF8(joined);
}

wxString InfoText() {
  return JoinLines({
      "作者：柯岚",
      "博客:" + std::string(HOME_PAGE_URL) + "/blog",
      "邮件:author@" + MAKER_HOST,
      "QQ:",
      "更新记录:",
      "2009-12-22 v1.0 ",
      "2009-12-23 v2.0",
      "软件可能有BUG，请发邮件告知！谢谢哦~",
  });
}

wxString DonateText() {
  return JoinLines({
      "如果你觉得这款软件不错，干嘛不捐赠一下作者呢？",
      "支付宝: donate@" + MAKER_HOST,
      "财付通: donate@" + MAKER_HOST,
      "捐助名单将在柯岚的博客出现~",
      "金额不限~",
  });
}

}  // namespace

CAboutDlg::CAboutDlg(wxWindow* owner)
    : wxDialog(owner, wxID_ANY, FromUtf8("关于 Parlavo 帕拉沃"), wxDefaultPosition, wxDefaultSize,
               wxDEFAULT_DIALOG_STYLE) {
  // Dialog units are measured in the dialog's font, so it comes first.
  SetFont(MakeDialogFont());
  const auto position = [this](int x, int y) { return ConvertDialogToPixels(wxPoint(x, y)); };
  const auto size = [this](int width, int height) { return ConvertDialogToPixels(wxSize(width, height)); };

  auto* ok = new wxButton(this, wxID_OK, FromUtf8("确定"), position(129, 126), size(52, 24));
  ok->SetDefault();
  m_editInfo = new wxTextCtrl(this, IDC_ABOUT_INFO, wxString(), position(7, 7), size(174, 59), TEXT_BOX_STYLE);
  m_editDonate = new CFrameEdit(this, IDC_ABOUT_DONATE, position(7, 70), size(174, 50), TEXT_BOX_STYLE);
  ShowVerticalScrollBar(*m_editInfo);
  ShowVerticalScrollBar(*m_editDonate);

  SetClientSize(size(188, 157));
  CentreOnParent();
  Bind(wxEVT_SHOW, &CAboutDlg::OnShowWindow, this);
}

void CAboutDlg::OnShowWindow(wxShowEvent& event) {
  event.Skip();
  m_editInfo->ChangeValue(InfoText());
  m_editDonate->ChangeValue(DonateText());
}

void ShowAboutDialog(wxWindow* owner) {
  CAboutDlg dialog(owner);
  dialog.ShowModal();
}

}  // namespace parlavo
