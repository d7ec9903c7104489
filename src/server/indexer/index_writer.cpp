#include "indexer/index_writer.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <unordered_map>

#include "dictionary/dictionary_format.h"
#include "text/utf8.h"

namespace parlavo::server {

namespace {

namespace format = dictionary_format;

class StringPool {
 public:
  std::uint32_t Add(const std::string& text) {
    const auto [slot, inserted] = m_offsets.try_emplace(text, 0);
    if (inserted) {
      if (m_bytes.size() + text.size() > std::numeric_limits<std::uint32_t>::max()) {
        throw std::runtime_error("dictionary strings exceed 4 GiB");
      }
      slot->second = static_cast<std::uint32_t>(m_bytes.size());
      m_bytes += text;
    }
    return slot->second;
  }
  const std::string& bytes() const { return m_bytes; }

 private:
  std::unordered_map<std::string, std::uint32_t> m_offsets;
  std::string m_bytes;
};

std::uint16_t Length(const std::string& text) {
  if (text.size() > std::numeric_limits<std::uint16_t>::max()) {
    throw std::runtime_error("dictionary string too long: " + text.substr(0, 40));
  }
  return static_cast<std::uint16_t>(text.size());
}

// Copies a tag or classifier into its fixed field; longer text is refused.
void Pad(char (&field)[4], const std::string& text) {
  if (text.size() > sizeof field) throw std::runtime_error("dictionary tag too long: " + text);
  std::memcpy(field, text.data(), text.size());
}

std::vector<format::Entry> Entries(const std::map<std::string, IndexRecord>& table, StringPool& pool) {
  std::vector<format::Entry> entries;
  entries.reserve(table.size());
  for (const auto& [key, record] : table) {
    if (record.entry.size() > std::numeric_limits<std::uint32_t>::max()) throw std::runtime_error("entry too long");
    format::Entry entry{pool.Add(key), pool.Add(record.value), Length(key), Length(record.value), record.frequency,
                        {}, {}, pool.Add(record.entry), static_cast<std::uint32_t>(record.entry.size())};
    Pad(entry.tag, record.tag);
    Pad(entry.measure, record.measure);
    entries.push_back(entry);
  }
  return entries;
}

std::uint32_t Count(std::size_t size) {
  if (size > std::numeric_limits<std::uint32_t>::max()) throw std::runtime_error("too many entries");
  return static_cast<std::uint32_t>(size);
}

std::uint32_t LongestChineseKey(const DictionaryTables& tables) {
  std::size_t longest = 0;
  for (const auto& [key, value] : tables.chinese) longest = std::max(longest, CountCodePoints(key));
  return Count(longest);
}

std::uint32_t LongestEnglishKey(const DictionaryTables& tables) {
  std::size_t longest = 0;
  for (const auto& [key, value] : tables.english) {
    longest = std::max(longest, static_cast<std::size_t>(std::count(key.begin(), key.end(), ' ')) + 1);
  }
  return Count(longest);
}

void Write(std::ofstream& out, const void* data, std::size_t size) {
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

}  // namespace

void WriteDictionaryIndex(const DictionaryTables& tables, const std::filesystem::path& output) {
  StringPool pool;
  const std::vector<format::Entry> chinese = Entries(tables.chinese, pool);
  const std::vector<format::Entry> english = Entries(tables.english, pool);

  format::Header header{};
  std::memcpy(header.magic, format::kMagic, sizeof header.magic);
  header.byteOrderMark = format::kByteOrderMark;
  header.chineseCount = Count(chinese.size());
  header.englishCount = Count(english.size());
  header.longestChineseKey = LongestChineseKey(tables);
  header.longestEnglishKey = LongestEnglishKey(tables);
  header.stringsSize = pool.bytes().size();
  header.totalFrequency = Count(tables.totalFrequency);

  std::filesystem::path temporary = output;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) throw std::runtime_error("cannot write " + temporary.string());
    Write(out, &header, sizeof header);
    Write(out, chinese.data(), chinese.size() * sizeof(format::Entry));
    Write(out, english.data(), english.size() * sizeof(format::Entry));
    Write(out, pool.bytes().data(), pool.bytes().size());
    out.close();
    if (!out) throw std::runtime_error("cannot write " + temporary.string());
  }
  std::filesystem::rename(temporary, output);
}

}  // namespace parlavo::server
