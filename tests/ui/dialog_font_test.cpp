#include "ui/dialog_font.h"

#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace parlavo {
namespace {

bool InstalledFontCoversSimplifiedChinese(const wxString& face) {
  FcPattern* pattern = FcPatternCreate();
  FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.utf8_str().data()));
  FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
  FcObjectSet* properties = FcObjectSetBuild(FC_FAMILY, nullptr);
  FcFontSet* fonts = FcFontList(nullptr, pattern, properties);
  const bool found = fonts != nullptr && fonts->nfont > 0;
  if (fonts) FcFontSetDestroy(fonts);
  FcObjectSetDestroy(properties);
  FcPatternDestroy(pattern);
  return found;
}

TEST(DialogFont, IsAnInstalledSimplifiedChineseFaceOfNinePoints) {
  const wxFont font = MakeDialogFont();
  ASSERT_TRUE(font.IsOk());
  EXPECT_EQ(font.GetPointSize(), 9);
  EXPECT_TRUE(InstalledFontCoversSimplifiedChinese(font.GetFaceName())) << font.GetFaceName().utf8_string();
}

}  // namespace
}  // namespace parlavo
