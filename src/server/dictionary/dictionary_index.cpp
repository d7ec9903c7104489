#include "dictionary/dictionary_index.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace parlavo::server {

namespace {

namespace format = dictionary_format;

[[noreturn]] void Damaged(const std::filesystem::path& path, const std::string& why) {
  throw DictionaryError("词典索引文件已损坏（" + path.string() + "）：" + why);
}

template <class T>
void ReadExactly(std::ifstream& in, T* data, std::size_t count, const std::filesystem::path& path) {
  in.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(count * sizeof(T)));
  if (!in || static_cast<std::size_t>(in.gcount()) != count * sizeof(T)) Damaged(path, "文件不完整");
}

}  // namespace

DictionaryIndex DictionaryIndex::Load(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DictionaryError("无法打开词典索引文件：" + path.string());
  std::error_code error;
  const auto fileSize = std::filesystem::file_size(path, error);
  if (error) throw DictionaryError("无法读取词典索引文件：" + path.string());

  format::Header header{};
  ReadExactly(in, &header, 1, path);
  if (std::memcmp(header.magic, format::kMagic, sizeof header.magic) != 0) Damaged(path, "不是词典索引文件");
  if (header.byteOrderMark != format::kByteOrderMark) Damaged(path, "字节序不符");
  const std::uint64_t expected = sizeof header + (std::uint64_t{header.chineseCount} + header.englishCount) *
                                                     sizeof(format::Entry) + header.stringsSize;
  if (expected != fileSize) Damaged(path, "文件大小不符");

  DictionaryIndex index;
  index.m_chinese.resize(header.chineseCount);
  index.m_english.resize(header.englishCount);
  index.m_strings.resize(header.stringsSize);
  ReadExactly(in, index.m_chinese.data(), index.m_chinese.size(), path);
  ReadExactly(in, index.m_english.data(), index.m_english.size(), path);
  ReadExactly(in, index.m_strings.data(), index.m_strings.size(), path);

  for (const auto* table : {&index.m_chinese, &index.m_english}) {
    for (std::size_t i = 0; i < table->size(); ++i) {
      const Entry& entry = (*table)[i];
      if (std::uint64_t{entry.keyOffset} + entry.keyLength > header.stringsSize ||
          std::uint64_t{entry.valueOffset} + entry.valueLength > header.stringsSize) {
        Damaged(path, "条目越界");
      }
      if (entry.keyLength == 0 || entry.keyLength > format::kMaxKeyBytes) Damaged(path, "词条长度无效");
      if (i > 0 && !(index.KeyOf((*table)[i - 1]) < index.KeyOf(entry))) Damaged(path, "条目未排序");
    }
  }
  if (header.longestChineseKey > format::kMaxChineseKeyCharacters ||
      header.longestEnglishKey > format::kMaxEnglishKeyWords) {
    Damaged(path, "词条长度无效");
  }
  index.m_longestChineseKey = header.longestChineseKey;
  index.m_longestEnglishKey = header.longestEnglishKey;
  index.m_totalFrequency = std::max<double>(header.totalFrequency, 1);
  return index;
}

std::string_view DictionaryIndex::KeyOf(const Entry& entry) const {
  return std::string_view(m_strings).substr(entry.keyOffset, entry.keyLength);
}

namespace {

std::string_view Padded(const char (&field)[4]) { return {field, static_cast<std::size_t>(std::find(field, field + sizeof field, '\0') - field)}; }

}  // namespace

std::optional<IndexWord> DictionaryIndex::Find(const std::vector<Entry>& table, std::string_view key) const {
  const auto found = std::lower_bound(table.begin(), table.end(), key, [this](const Entry& entry, std::string_view k) {
    return KeyOf(entry) < k;
  });
  if (found == table.end() || KeyOf(*found) != key) return std::nullopt;
  return IndexWord{std::string_view(m_strings).substr(found->valueOffset, found->valueLength), Padded(found->tag),
                   Padded(found->measure), found->frequency};
}

std::optional<IndexWord> DictionaryIndex::Chinese(std::string_view word) const { return Find(m_chinese, word); }

bool DictionaryIndex::HasLongerChinese(std::string_view prefix) const {
  const auto after = std::upper_bound(m_chinese.begin(), m_chinese.end(), prefix,
                                      [this](std::string_view k, const Entry& entry) { return k < KeyOf(entry); });
  return after != m_chinese.end() && KeyOf(*after).starts_with(prefix);
}

std::optional<IndexWord> DictionaryIndex::English(std::string_view key) const { return Find(m_english, key); }

}  // namespace parlavo::server
