#pragma once

// Support for tests that drive real wxWidgets windows on an X display
// (run them under `xvfb-run -a`). Link `parlavo_ui_test_support`; the test
// program's main() hands its application object to RunGuiTests.
//
// The tests run outside any main loop: code under test runs directly from
// the test body, and the helpers below let the window system catch up.
//
// For message boxes and other modal dialogs that should not really appear,
// use wxTEST_DIALOG from <wx/testing.h> after including this header: unmet or
// unexpected dialogs are then reported as test failures.

#include <chrono>
#include <functional>

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/frame.h>
#include <wx/gdicmn.h>
#include <wx/image.h>
#include <wx/modalhook.h>

namespace parlavo::testing {

using namespace std::chrono_literals;

// Starts wxWidgets once with `app` (whose OnInit is not called), runs every
// test and cleans up; wx assertion failures become test failures. Listing
// the tests (--gtest_list_tests) needs no display.
int RunGuiTests(int argc, char** argv, wxApp* app);

// Handles everything the window system and wx have pending, then returns.
void ProcessEvents();

// Keeps handling events for `duration`.
void PumpEvents(std::chrono::milliseconds duration);

// Keeps handling events until `condition` holds or `timeout` has passed;
// returns the condition's last value.
bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);

// Handles events until `window` is mapped on the screen (at most `timeout`).
bool WaitUntilOnScreen(const wxWindow& window, std::chrono::milliseconds timeout = 5s);

// The pixels the X server shows inside `screenRect` (screen coordinates),
// whichever window they belong to. Pending drawing is flushed first.
wxImage GrabScreen(const wxRect& screenRect);

// The screen rectangle the whole of `window` covers.
wxRect ScreenRectOf(const wxWindow& window);

// A top-level window of the test's own, e.g. to own dialogs or to cover
// other windows; deleted with this object.
class ScopedFrame {
 public:
  // Shown at once when `show`; give it a solid `colour` to recognise it on
  // the screen.
  explicit ScopedFrame(const wxRect& rect, bool show = true, long style = wxDEFAULT_FRAME_STYLE,
                       const wxColour& colour = wxNullColour);
  ~ScopedFrame();
  ScopedFrame(const ScopedFrame&) = delete;
  ScopedFrame& operator=(const ScopedFrame&) = delete;

  wxFrame* get() const { return m_frame; }
  wxFrame* operator->() const { return m_frame; }

 private:
  wxFrame* m_frame;
};

// While this object lives, each modal dialog is really shown, and once it is
// on screen `whileShown` runs inside the dialog's own modal loop (so the
// dialog can be inspected and ended through its user interface). A dialog
// that `whileShown` leaves open is ended with wxID_CANCEL and the test fails.
class WhileModal : public wxModalDialogHook {
 public:
  explicit WhileModal(std::function<void(wxDialog&)> whileShown);
  ~WhileModal() override;
  WhileModal(const WhileModal&) = delete;
  WhileModal& operator=(const WhileModal&) = delete;

  // How many modal dialogs have been shown so far.
  int shownCount() const { return m_shownCount; }

 protected:
  int Enter(wxDialog* dialog) override;
  void Exit(wxDialog* dialog) override;

 private:
  std::function<void(wxDialog&)> m_whileShown;
  int m_shownCount = 0;
};

}  // namespace parlavo::testing

// wxTEST_DIALOG reports through gtest instead of wx's assertion dialog.
#define wxTEST_DIALOG_HOOK_CLASS ::parlavo::testing::GtestModalHook
#include <wx/testing.h>

namespace parlavo::testing {

// An unexpected dialog fails the test and is answered with wxID_CANCEL, so
// that it cannot block the test by really appearing.
class GtestModalHook : public wxTestingModalHook {
 public:
  using wxTestingModalHook::wxTestingModalHook;

 protected:
  int Enter(wxDialog* dialog) override;
  void ReportFailure(const wxString& message) override;
};

}  // namespace parlavo::testing
