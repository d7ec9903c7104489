// parlavo --selection: the selected text into the window, and a second start
// handing its request to the running window over a session bus of the
// test's own. The selections are owned by xclip, another X client.
#include <gio/gio.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>

#include <wx/statusbr.h>

#include "child_process.h"
#include "services/translation_client.h"
#include "text/utf8.h"
#include "ui/selection_reader.h"
#include "ui/single_window.h"
#include "window_test.h"

// Last: Xlib's macros (None, Status) would clash with the headers above.
#include <gdk/gdkx.h>

namespace parlavo::testing {
namespace {

// `bytes` offered as the selection `which` ("primary", "clipboard") by xclip.
class SelectionOwner {
 public:
  SelectionOwner(const char* which, const std::string& bytes) {
    std::ofstream(m_file, std::ios::binary) << bytes;
    Display* display = GDK_DISPLAY_XDISPLAY(gdk_display_get_default());
    const Atom selection = XInternAtom(display, which[0] == 'p' ? "PRIMARY" : "CLIPBOARD", False);
    const Window before = XGetSelectionOwner(display, selection);
    m_pid = Spawn({"xclip", "-quiet", "-selection", which, "-i", m_file}, true);
    EXPECT_GT(m_pid, 0) << "xclip (scripts/setup installs it)";
    EXPECT_TRUE(WaitUntil([&] {
      const Window owner = XGetSelectionOwner(display, selection);
      return owner != None && owner != before;
    }));
  }
  ~SelectionOwner() {
    if (m_pid > 0) Stop(m_pid);
    std::remove(m_file.c_str());
  }

 private:
  std::string m_file = ::testing::TempDir() + "selection-" + std::to_string(getpid());
  pid_t m_pid = 0;
};

class Selection : public MainWindowTest {
 protected:
  wxString StatusLine() const { return m_window->GetStatusBar()->GetStatusText(); }
  void TakeSelection() { m_window->TakeRequest({true, ""}); }
};

TEST_F(Selection, WhatIsSelectedOrElseOnTheClipboardIsTranslated) {
  const struct {
    std::string primary, clipboard;
    const wchar_t* input;
    const wchar_t* status;  // what the status line ends with
  } cases[] = {
      {"hi", "other", L"hi", L"英文 → 中文"},
      {"", "hi", L"hi", L"英文 → 中文；没有选中的文字，译的是剪贴板中的文字"},
      {std::string("h\0\xFF\xC0i", 5), "", L"h\uFFFD\uFFFD\uFFFDi", L"英文 → 中文"},
      {"", "", L"typed", L"没有选中的文字"},  // nothing to translate: both boxes stay
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(wxString(c.input).utf8_string());
    SelectionOwner primary("primary", c.primary), clipboard("clipboard", c.clipboard);
    const std::size_t before = Requests().size();
    InputBox().ChangeValue(wxS("typed"));
    ResultBox().ChangeValue(wxS("earlier"));
    TakeSelection();
    const bool translated = wxString(c.input) != wxS("typed");
    EXPECT_EQ(InputBox().GetValue(), c.input);
    EXPECT_TRUE(StatusLine().EndsWith(c.status)) << StatusLine().utf8_string();
    EXPECT_EQ(ResultBox().GetValue(), translated ? wxS("你好") : wxS("earlier"));
    EXPECT_EQ(Requests().size(), before + (translated ? 2 : 0));
  }
}

TEST(SelectionText, IsCutAtACharacterBoundaryToWhatOneRequestCarries) {
  bool cut = true;
  EXPECT_EQ(SelectionText("a\xE4\xB8\xAD", cut), "a\xE4\xB8\xAD");
  EXPECT_FALSE(cut);
  std::string longText = "a";
  while (longText.size() <= MAX_TEXT_BYTES) longText += "\xE4\xB8\xAD";
  const std::string text = SelectionText(longText, cut);
  EXPECT_TRUE(cut);
  EXPECT_TRUE(IsValidUtf8(text));
  EXPECT_GT(text.size(), MAX_TEXT_BYTES - 3);
  EXPECT_LE(text.size(), MAX_TEXT_BYTES);
}

// A second start, with or without --selection, reaches the window on the bus
// and ends; the window translates the new selection.
TEST_F(Selection, ASecondStartHandsItsRequestToTheRunningWindow) {
  GTestDBus* bus = g_test_dbus_new(G_TEST_DBUS_NONE);
  g_test_dbus_up(bus);
  // The test bus takes DISPLAY out of the environment; the second start
  // needs it.
  g_setenv("DISPLAY", gdk_display_get_name(gdk_display_get_default()), TRUE);
  {
    SingleWindow single;
    ASSERT_TRUE(single.Claim({}, [this](const WindowRequest& request) { m_window->TakeRequest(request); }));
    for (const char* text : {"hi", "hello"}) {
      SelectionOwner primary("primary", text);
      for (const bool selection : {false, true}) {
        std::vector<std::string> command{PARLAVO_PROGRAM};
        if (selection) command.push_back("--selection");
        const pid_t pid = Spawn(command);
        int status = -1;
        ASSERT_TRUE(WaitUntil([&] { return waitpid(pid, &status, WNOHANG) == pid; }, 10s)) << "a second window";
        EXPECT_EQ(status, 0);
      }
      ASSERT_TRUE(WaitUntil([&] { return InputBox().GetValue() == wxString::FromUTF8(text); }));
      EXPECT_EQ(ResultBox().GetValue(), wxS("你好"));
    }
    EXPECT_EQ(wxTopLevelWindows.size(), 1U);
  }
  g_test_dbus_down(bus);
  g_object_unref(bus);
}

}  // namespace
}  // namespace parlavo::testing
