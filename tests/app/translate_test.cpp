#include <gtest/gtest.h>

#include <wx/utils.h>

#include "main_window_fixture.h"

namespace parlavo::testing {
namespace {

using Translate = MainWindowTest;

TEST_F(Translate, TypedTextGoesToDetectionThenToTranslationIntoChinese) {
  Focus(InputBox());
  m_user.Text("hi");
  ASSERT_TRUE(WaitUntil([this] { return InputBox().GetValue() == wxS("hi"); }));
  Click(TranslateButton());

  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(Requests(), (std::vector<std::string>{DetectTarget("%68%69"), TranslateTarget("%68%69", "en|zh")}));
  EXPECT_EQ(InputBox().GetValue(), wxS("hi"));
  EXPECT_EQ(BusyDuringRequests(), (std::vector<bool>{true, true}));
  EXPECT_FALSE(wxIsBusy());
}

TEST_F(Translate, ChosenEnglishSendsTheTargetCodeEn) {
  InputBox().ChangeValue(wxS("hi"));
  Focus(TargetList());
  ASSERT_TRUE(m_user.Select(wxS("英文")));
  ASSERT_EQ(TargetList().GetStringSelection(), wxS("英文"));
  Click(TranslateButton());

  ASSERT_TRUE(WaitForRequests(2));
  EXPECT_EQ(Requests()[1], TranslateTarget("%68%69", "en|en"));
}

TEST_F(Translate, ChineseInputReachesTheServiceAsUtf8InEveryLocale) {
  InputBox().ChangeValue(wxS("中文"));
  Click(TranslateButton());

  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(Requests(), (std::vector<std::string>{DetectTarget("%e4%b8%ad%e6%96%87"),
                                                  TranslateTarget("%e4%b8%ad%e6%96%87", "en|zh")}));
}

TEST_F(Translate, StraightAwaySendsTheEmptyText) {
  Click(TranslateButton());

  ASSERT_TRUE(WaitForRequests(2));
  EXPECT_EQ(Requests(), (std::vector<std::string>{DetectTarget(""), TranslateTarget("", "en|zh")}));
}

TEST_F(Translate, ReplacesTheResultAndNeverReadsIt) {
  InputBox().ChangeValue(wxS("hi"));
  ResultBox().ChangeValue(wxS("上一次的译文"));
  Click(TranslateButton());

  ASSERT_TRUE(WaitUntil([this] { return ResultBox().GetValue() == wxS("你好"); }));
  EXPECT_EQ(Requests()[1], TranslateTarget("%68%69", "en|zh"));
}

}  // namespace
}  // namespace parlavo::testing
