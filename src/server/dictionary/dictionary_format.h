#pragma once

#include <cstdint>

// On-disk layout of the dictionary index, shared by the build-time indexer
// and the service. The file is: Header, the Chinese entries, the English
// entries, then the string pool the entries point into. Both entry tables are
// sorted by key bytes, so lookups are binary searches over the loaded file.
namespace parlavo::server::dictionary_format {

inline constexpr char kMagic[8] = {'P', 'L', 'V', 'D', 'I', 'C', 'T', '1'};
// Keys are bounded so segmentation tries few lengths per position.
inline constexpr std::uint32_t kMaxChineseKeyCharacters = 32;
inline constexpr std::uint32_t kMaxEnglishKeyWords = 6;
inline constexpr std::uint32_t kMaxKeyBytes = 255;
// Read back differently on a machine of the other byte order.
inline constexpr std::uint32_t kByteOrderMark = 0x01020304;

struct Header {
  char magic[8];
  std::uint32_t byteOrderMark;
  std::uint32_t chineseCount;
  std::uint32_t englishCount;
  std::uint32_t longestChineseKey;  // characters
  std::uint32_t longestEnglishKey;  // words
  std::uint32_t reserved;
  std::uint64_t stringsSize;
};
static_assert(sizeof(Header) == 40);

// Chinese table: key = a headword, value = its English gloss (empty for a
// grammatical word that has no English of its own).
// English table: key = a normalised English phrase, value = the Chinese word.
struct Entry {
  std::uint32_t keyOffset;
  std::uint32_t valueOffset;
  std::uint16_t keyLength;
  std::uint16_t valueLength;
};
static_assert(sizeof(Entry) == 12);

}  // namespace parlavo::server::dictionary_format
