#pragma once

#include <memory>

#include <wx/app.h>

namespace parlavo {

class SingleWindow;

// Text is in the user's character set, so this comes before anything else.
void UseUserLocale();

// Runs the main window; the program ends when it closes. A start while the
// window is open hands its request to that window and ends.
class CTranslatorApp : public wxApp {
 public:
  CTranslatorApp();
  ~CTranslatorApp() override;

  bool OnInit() override;
  int OnRun() override;

  // A command that fails on the network, at the service or for want of
  // memory ends here: the user reads why, and the window goes on as it was.
  bool OnExceptionInMainLoop() override;

 private:
  std::unique_ptr<SingleWindow> m_singleWindow;
  bool m_handedOver = false;
};

}  // namespace parlavo
