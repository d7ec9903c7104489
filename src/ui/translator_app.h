#pragma once

#include <wx/app.h>

namespace parlavo {

// Text is in the user's character set, so this comes before anything else.
void UseUserLocale();

// Runs the main window; the program ends when it closes.
class CTranslatorApp : public wxApp {
 public:
  bool OnInit() override;

  // A command that fails on the network, at the service or for want of
  // memory ends here: the user reads why, and the window goes on as it was.
  bool OnExceptionInMainLoop() override;
};

}  // namespace parlavo
