#include "ui/dialog_font.h"

#include <fontconfig/fontconfig.h>

#include <memory>

#include <wx/settings.h>

namespace parlavo {

namespace {

constexpr int DIALOG_POINT_SIZE = 9;
constexpr const char* PREFERRED_FACE = "宋体";
constexpr const char* CHINESE_LANGUAGE = "zh-cn";

struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

bool CoversChinese(FcPattern* font) {
  FcLangSet* languages = nullptr;
  return FcPatternGetLangSet(font, FC_LANG, 0, &languages) == FcResultMatch &&
         FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>(CHINESE_LANGUAGE)) == FcLangEqual;
}

// Asks for the preferred face and Simplified Chinese together: fontconfig
// then returns that face when it exists and the best Chinese font otherwise.
// Empty when no installed font covers Simplified Chinese.
wxString ChineseFaceName() {
  Pattern wanted(FcPatternCreate());
  if (!wanted) return {};
  FcPatternAddString(wanted.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(PREFERRED_FACE));
  FcLangSet* languages = FcLangSetCreate();
  FcLangSetAdd(languages, reinterpret_cast<const FcChar8*>(CHINESE_LANGUAGE));
  FcPatternAddLangSet(wanted.get(), FC_LANG, languages);
  FcLangSetDestroy(languages);
  FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
  FcDefaultSubstitute(wanted.get());

  FcResult result = FcResultNoMatch;
  Pattern found(FcFontMatch(nullptr, wanted.get(), &result));
  FcChar8* family = nullptr;
  if (!found || !CoversChinese(found.get()) ||
      FcPatternGetString(found.get(), FC_FAMILY, 0, &family) != FcResultMatch)
    return {};
  return wxString::FromUTF8(reinterpret_cast<const char*>(family));
}

}  // namespace

wxFont MakeDialogFont() {
  const wxString face = ChineseFaceName();
  if (face.empty()) {
    wxFont fallback = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    fallback.SetPointSize(DIALOG_POINT_SIZE);
    return fallback;
  }
  return wxFont(wxFontInfo(DIALOG_POINT_SIZE).FaceName(face));
}

}  // namespace parlavo
