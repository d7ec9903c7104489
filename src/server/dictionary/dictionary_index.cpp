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
          std::uint64_t{entry.valueOffset} + entry.valueLength > header.stringsSize ||
          std::uint64_t{entry.entryOffset} + entry.entryLength > header.stringsSize) {
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
  index.IndexFirstCharacters();
  return index;
}

namespace {

// The bytes of text's first character as its lead byte announces them (fewer if text is
// shorter), with their count, in one number; bytes are not checked, so any key has one.
std::uint64_t FirstCharacterKey(std::string_view text) {
  const auto lead = static_cast<unsigned char>(text.front());
  const std::size_t length = std::min<std::size_t>(text.size(), lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4);
  std::uint64_t key = 0;
  for (std::size_t i = 0; i < 4; ++i) key = key << 8 | (i < length ? static_cast<unsigned char>(text[i]) : 0);
  return key << 8 | length;
}

}  // namespace

void DictionaryIndex::IndexFirstCharacters() {
  // Keys sharing a first character are neighbours in the sorted table.
  for (std::size_t i = 0; i < m_chinese.size(); ++i) {
    const std::uint64_t key = FirstCharacterKey(KeyOf(m_chinese[i]));
    if (m_firstCharacters.empty() || m_firstCharacters.back().key != key) {
      m_firstCharacters.push_back({key, {i, i}});
    }
    m_firstCharacters.back().range.last = i + 1;
  }
  std::sort(m_firstCharacters.begin(), m_firstCharacters.end(),
            [](const FirstCharacter& a, const FirstCharacter& b) { return a.key < b.key; });
}

std::string_view DictionaryIndex::KeyOf(const Entry& entry) const {
  return std::string_view(m_strings).substr(entry.keyOffset, entry.keyLength);
}

namespace {

std::string_view Padded(const char (&field)[4]) { return {field, static_cast<std::size_t>(std::find(field, field + sizeof field, '\0') - field)}; }

}  // namespace

IndexWord DictionaryIndex::WordOf(const Entry& entry) const {
  return IndexWord{std::string_view(m_strings).substr(entry.valueOffset, entry.valueLength), Padded(entry.tag),
                   Padded(entry.measure), entry.frequency,
                   std::string_view(m_strings).substr(entry.entryOffset, entry.entryLength)};
}

std::optional<IndexWord> DictionaryIndex::Find(const std::vector<Entry>& table, std::string_view key) const {
  const auto found = std::lower_bound(table.begin(), table.end(), key, [this](const Entry& entry, std::string_view k) {
    return KeyOf(entry) < k;
  });
  if (found == table.end() || KeyOf(*found) != key) return std::nullopt;
  return WordOf(*found);
}

std::optional<IndexWord> DictionaryIndex::Chinese(std::string_view word) const { return Find(m_chinese, word); }

DictionaryIndex::ChineseRange DictionaryIndex::NarrowChinese(ChineseRange range, std::string_view prefix,
                                                             std::size_t known) const {
  if (known == 0 && !prefix.empty()) {
    const std::uint64_t key = FirstCharacterKey(prefix);
    const auto found = std::lower_bound(m_firstCharacters.begin(), m_firstCharacters.end(), key,
                                        [](const FirstCharacter& group, std::uint64_t k) { return group.key < k; });
    if (found == m_firstCharacters.end() || found->key != key) return {};
    range = found->range;
    known = key & 0xFF;
    if (known == prefix.size()) return range;
  }
  const std::string_view added = prefix.substr(known);
  // Every key in the range is at least `known` bytes long and agrees with prefix up to there.
  const auto addedPart = [&](const Entry& entry) { return KeyOf(entry).substr(known, added.size()); };
  const auto begin = m_chinese.begin() + static_cast<std::ptrdiff_t>(range.first);
  const auto end = m_chinese.begin() + static_cast<std::ptrdiff_t>(range.last);
  const auto first = std::partition_point(begin, end, [&](const Entry& entry) { return addedPart(entry) < added; });
  const auto last = std::partition_point(first, end, [&](const Entry& entry) { return addedPart(entry) == added; });
  return {static_cast<std::size_t>(first - m_chinese.begin()), static_cast<std::size_t>(last - m_chinese.begin())};
}

std::optional<IndexWord> DictionaryIndex::ChineseIn(ChineseRange range, std::string_view word) const {
  // A key sorts before every longer key it begins.
  if (range.empty() || m_chinese[range.first].keyLength != word.size()) return std::nullopt;
  return WordOf(m_chinese[range.first]);
}

std::optional<IndexWord> DictionaryIndex::English(std::string_view key) const { return Find(m_english, key); }

namespace {

// The lines of an entry (see dictionary_format.h), each handed to `line`.
template <class Visit>
void ForEachLine(std::string_view entry, Visit line) {
  while (!entry.empty()) {
    const auto end = entry.find('\n');
    line(entry.substr(0, end));
    entry.remove_prefix(end == std::string_view::npos ? entry.size() : end + 1);
  }
}

std::optional<IndexSense> SenseOf(std::string_view line) {
  if (line.size() < 3) return std::nullopt;
  return IndexSense{line[0], line[1] == format::kBoundForm, line.substr(2)};
}

}  // namespace

std::vector<IndexReading> DictionaryIndex::ChineseReadings(std::string_view word) const {
  std::vector<IndexReading> readings;
  const auto found = Chinese(word);
  if (!found) return readings;
  ForEachLine(found->entry, [&](std::string_view line) {
    if (line.starts_with(format::kReadingLine)) {
      readings.push_back({line.substr(1), {}});
    } else if (const auto sense = SenseOf(line); sense && !readings.empty()) {
      readings.back().senses.push_back(*sense);
    }
  });
  return readings;
}

bool DictionaryIndex::HasSenseOfClass(const IndexWord& word, char wordClass) {
  bool found = false;
  ForEachLine(word.entry, [&](std::string_view line) {
    if (line.starts_with(format::kReadingLine)) return;
    if (const auto sense = SenseOf(line); sense && sense->wordClass == wordClass) found = true;
  });
  return found;
}

std::vector<IndexSense> DictionaryIndex::EnglishRenderings(std::string_view key) const {
  std::vector<IndexSense> renderings;
  if (const auto found = English(key)) {
    ForEachLine(found->entry, [&](std::string_view line) {
      if (const auto sense = SenseOf(line)) renderings.push_back(*sense);
    });
  }
  return renderings;
}

}  // namespace parlavo::server
