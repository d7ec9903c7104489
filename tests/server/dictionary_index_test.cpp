#include <gtest/gtest.h>

#include <cstring>
#include <fstream>

#include "dictionary/dictionary_format.h"
#include "indexer/index_writer.h"
#include "service_fixture.h"

namespace parlavo::server {
namespace {

using testing::IndexOf;
using testing::TemporaryFile;

DictionaryTables SampleTables() {
  DictionaryTables tables;
  tables.chinese = {{"你好", {"hello", "l", 800}}, {"了", ""}, {"中华人民共和国", "PRC"}, {"书", {"book", "n", 9, "本"}}};
  tables.english = {{"hello", "你好"}, {"good morning", "早上好"}, {"one two three", {"一二三", "m"}}};
  tables.totalFrequency = 1234;
  return tables;
}

TEST(DictionaryIndexTest, LooksUpBothDirections) {
  const DictionaryIndex index = IndexOf(SampleTables());
  const auto hello = index.Chinese("你好");
  ASSERT_TRUE(hello);
  EXPECT_EQ(hello->value, "hello");
  EXPECT_EQ(hello->tag, "l");
  EXPECT_EQ(hello->frequency, 800u);
  EXPECT_EQ(index.Chinese("书")->measure, "本");
  EXPECT_EQ(index.Chinese("了")->value, "") << "known word without English";
  EXPECT_FALSE(index.Chinese("你"));
  EXPECT_TRUE(index.HasLongerChinese("中华"));
  EXPECT_FALSE(index.HasLongerChinese("你好")) << "only longer words count";
  EXPECT_EQ(index.English("good morning")->value, "早上好");
  EXPECT_EQ(index.English("one two three")->tag, "m");
  EXPECT_FALSE(index.English("good"));
  EXPECT_EQ(index.totalFrequency(), 1234);
  EXPECT_EQ(index.longestChineseKey(), 7u);
  EXPECT_EQ(index.longestEnglishKey(), 3u);
  EXPECT_EQ(index.chineseCount(), 4u);
  EXPECT_EQ(index.englishCount(), 3u);
}

TEST(DictionaryIndexTest, AnEmptyIndexFindsNothing) {
  const DictionaryIndex index = IndexOf({});
  EXPECT_FALSE(index.Chinese("你好"));
  EXPECT_FALSE(index.English("hello"));
}

std::string Bytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

void Write(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class DamagedIndexTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteDictionaryIndex(SampleTables(), m_file.path());
    m_bytes = Bytes(m_file.path());
  }
  void ExpectRejected(const std::string& bytes, const char* what) {
    Write(m_file.path(), bytes);
    EXPECT_THROW(DictionaryIndex::Load(m_file.path()), DictionaryError) << what;
  }
  template <class T>
  void Poke(std::string& bytes, std::size_t offset, T value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
  }

  TemporaryFile m_file{"parlavo-damaged"};
  std::string m_bytes;
};

TEST_F(DamagedIndexTest, IsRefusedWithAChineseReason) {
  ExpectRejected(m_bytes.substr(0, m_bytes.size() - 1), "truncated");
  ExpectRejected(m_bytes.substr(0, 10), "shorter than its header");
  ExpectRejected(m_bytes + "x", "trailing bytes");
  std::string bytes = m_bytes;
  bytes[0] = 'X';
  ExpectRejected(bytes, "magic");

  constexpr std::size_t firstEntry = sizeof(dictionary_format::Header);
  bytes = m_bytes;
  Poke<std::uint32_t>(bytes, firstEntry, 0xFFFFFF00u);
  ExpectRejected(bytes, "key outside the strings");

  bytes = m_bytes;
  dictionary_format::Entry first{}, second{};
  std::memcpy(&first, bytes.data() + firstEntry, sizeof first);
  std::memcpy(&second, bytes.data() + firstEntry + sizeof first, sizeof second);
  Poke(bytes, firstEntry, second);
  Poke(bytes, firstEntry + sizeof first, first);
  ExpectRejected(bytes, "unsorted");

  try {
    DictionaryIndex::Load(m_file.path().string() + ".missing");
    ADD_FAILURE() << "a missing file loaded";
  } catch (const DictionaryError& error) {
    EXPECT_NE(std::string(error.what()).find("无法"), std::string::npos) << error.what();
  }
}

TEST(RealDictionaryIndexTest, HoldsCommonWords) {
  const DictionaryIndex index = DictionaryIndex::Load(PARLAVO_TEST_DICTIONARY_INDEX);
  EXPECT_GT(index.chineseCount(), 100000u);
  EXPECT_GT(index.englishCount(), 50000u);
  EXPECT_EQ(index.Chinese("你好")->value, "hello");
  EXPECT_EQ(index.Chinese("電腦")->value, "computer");
  EXPECT_EQ(index.Chinese("电脑")->tag, "n") << "jieba's tag";
  EXPECT_GT(index.Chinese("电脑")->frequency, 0u);
  EXPECT_EQ(index.Chinese("书")->measure, "本");
  EXPECT_EQ(index.English("computer")->value, "电脑");
  EXPECT_GT(index.totalFrequency(), 1e7);
}

}  // namespace
}  // namespace parlavo::server
