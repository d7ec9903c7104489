#include "main_window.h"

#include <wx/app.h>
#include <wx/clipbrd.h>
#include <wx/dataobj.h>
#include <wx/msgdlg.h>

#include "ui/command_ids.h"

namespace parlavo::input {

using testing::ProcessEvents;
using testing::WaitUntil;

ErrorBoxRecorder::ErrorBoxRecorder(ErrorBoxes& boxes) : m_boxes(boxes) { Register(); }

ErrorBoxRecorder::~ErrorBoxRecorder() { Unregister(); }

int ErrorBoxRecorder::Enter(wxDialog* dialog) {
  ++m_boxes.count;
  const auto* box = dynamic_cast<wxMessageDialog*>(dialog);
  m_boxes.message = box != nullptr ? box->GetMessage() : dialog->GetTitle();
  return wxID_OK;
}

void MainWindowTest::SetUp() {
  m_window = new CTranslatorDlg(nullptr);
  wxTheApp->SetTopWindow(m_window);
  m_window->Show();
  ASSERT_TRUE(testing::WaitUntilOnScreen(*m_window));
  // Without a window manager the keyboard follows the pointer.
  m_user.MouseMove(m_window->GetScreenRect().GetTopLeft() + wxPoint(4, 4));
  ASSERT_TRUE(WaitUntil([this] { return m_window->IsActive(); }));
}

void MainWindowTest::TearDown() {
  if (m_window != nullptr) m_window->Destroy();
  ProcessEvents();
}

wxTextCtrl& MainWindowTest::InputBox() const {
  return *dynamic_cast<wxTextCtrl*>(m_window->FindWindow(IDC_SOURCE_TEXT));
}

wxTextCtrl& MainWindowTest::ResultBox() const {
  return *dynamic_cast<wxTextCtrl*>(m_window->FindWindow(IDC_RESULT_TEXT));
}

void MainWindowTest::Paste(const std::string& utf8) {
  const wxString text = wxString::FromUTF8(utf8.data(), utf8.size());
  ASSERT_TRUE(wxTheClipboard->Open());
  wxTheClipboard->SetData(new wxTextDataObject(text));
  wxTheClipboard->Close();

  wxTextCtrl& box = InputBox();
  box.SetFocus();
  ASSERT_TRUE(WaitUntil([&box] { return wxWindow::FindFocus() == &box; }));
  m_user.Char('V', wxMOD_CONTROL);
  ASSERT_TRUE(WaitUntil([&box, &text] { return box.GetValue().length() >= text.length(); }, 120s))
      << "the paste did not arrive";
}

ErrorBoxes MainWindowTest::Translate(std::chrono::milliseconds timeout) {
  ErrorBoxes boxes;
  const wxString before = ResultBox().GetValue();
  wxWindow* button = m_window->FindWindow(IDC_TRANSLATE);
  const ErrorBoxRecorder recorder(boxes);
  const wxRect where = button->GetScreenRect();
  m_user.MouseMove(where.GetTopLeft() + wxPoint(where.width / 2, where.height / 2));
  ProcessEvents();
  m_user.MouseClick();
  WaitUntil([&] { return boxes.count > 0 || ResultBox().GetValue() != before; }, timeout);
  return boxes;
}

std::string Utf8Of(const wxTextCtrl& box) { return box.GetValue().utf8_string(); }

}  // namespace parlavo::input
