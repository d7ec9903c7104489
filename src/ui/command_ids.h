#pragma once

#include <wx/defs.h>

namespace parlavo {

// Controls of the main window; their order of creation is the tab order.
enum ControlId {
  IDC_TRANSLATE = 1000,
  IDC_SOURCE_TEXT = 1001,
  IDC_RESULT_TEXT = 1002,
  IDC_TARGET_LANGUAGE = 1003,
  IDC_SOURCE_LANGUAGE = 1004,
};

// Menu commands. Windows resource files numbered them 32771 and 32772; wx
// keeps the ids above 0x7FFF for itself, so ours follow wx's own range.
enum CommandId {
  ID_HELP_ABOUT = wxID_HIGHEST + 1,
  ID_HELP_CHECKUPDATE,
};

// The About item of the Windows system menu: such ids must be multiples of 16.
inline constexpr int IDM_ABOUTBOX = 0x0010;

}  // namespace parlavo
