#include <gtest/gtest.h>

#include <vector>

#include "net/line_splitter.h"

namespace parlavo {
namespace {

std::vector<Text> Split(std::initializer_list<std::string_view> pieces) {
  std::vector<Text> lines;
  LineSplitter splitter([&lines](const Text& line) {
    lines.push_back(line);
    return true;
  });
  for (std::string_view piece : pieces) splitter.Feed(piece);
  splitter.Finish();
  return lines;
}

TEST(LineSplitterTest, CutsAtLfDroppingOnlyTheCrBeforeIt) {
  EXPECT_EQ(Split({"ab\ncd"}), (std::vector<Text>{"ab", "cd"}));
  EXPECT_EQ(Split({"ab\r\ncd\r\n"}), (std::vector<Text>{"ab", "cd"}));
  EXPECT_EQ(Split({"a\rb\n\n"}), (std::vector<Text>{"a\rb", ""}));
  EXPECT_EQ(Split({""}), std::vector<Text>{});
}

TEST(LineSplitterTest, LinesMaySpanPieces) {
  EXPECT_EQ(Split({"a", "b\r", "\nc", "d"}), (std::vector<Text>{"ab", "cd"}));
  EXPECT_EQ(Split({"x\r", "y\n"}), (std::vector<Text>{"x\ry"}));
}

TEST(LineSplitterTest, StopsDeliveringOnceAsked) {
  std::vector<Text> lines;
  LineSplitter splitter([&lines](const Text& line) {
    lines.push_back(line);
    return line != "stop";
  });
  EXPECT_FALSE(splitter.Feed("a\nstop\nb\n"));
  EXPECT_FALSE(splitter.Feed("c\n"));
  EXPECT_FALSE(splitter.Finish());
  EXPECT_EQ(lines, (std::vector<Text>{"a", "stop"}));
}

}  // namespace
}  // namespace parlavo
