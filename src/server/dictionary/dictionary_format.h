#pragma once

#include <cstdint>
#include <string_view>

// On-disk layout of the dictionary index, shared by the build-time indexer
// and the service. The file is: Header, the Chinese entries, the English
// entries, then the string pool the entries point into. Both entry tables are
// sorted by key bytes, so lookups are binary searches over the loaded file.
// Chinese words carry jieba's frequency and part of speech for segmenting and
// tagging; English keys carry those of the Chinese word they lead to. Every
// key also has its dictionary entry (see Entry::entry*).
namespace parlavo::server::dictionary_format {

inline constexpr char kMagic[8] = {'P', 'L', 'V', 'D', 'I', 'C', 'T', '3'};
// Keys are bounded so segmentation tries few lengths per position.
inline constexpr std::uint32_t kMaxChineseKeyCharacters = 32;
inline constexpr std::uint32_t kMaxEnglishKeyWords = 6;
inline constexpr std::uint32_t kMaxKeyBytes = 255;
inline constexpr std::string_view kVerbMark = "/v";
inline constexpr std::string_view kNounMark = "/n";
// Word classes of an entry's senses and renderings (the first letters of
// jieba's tags where they agree).
inline constexpr char kVerbClass = 'v';
inline constexpr char kNounClass = 'n';
inline constexpr char kAdjectiveClass = 'a';
inline constexpr char kAdverbClass = 'd';
inline constexpr char kMeasureClass = 'q';  // a classifier sense ("classifier for books")
inline constexpr char kNumeralClass = 'm';
inline constexpr char kPronounClass = 'r';
inline constexpr char kPrepositionClass = 'p';
inline constexpr char kConjunctionClass = 'c';
inline constexpr char kParticleClass = 'u';
inline constexpr char kInterjectionClass = 'e';
inline constexpr char kIdiomClass = 'i';
inline constexpr char kNameClass = 'z';  // a proper name ("Taiwan", 班克斯)
inline constexpr char kOtherClass = 'x';
// Entry lines, '\n'-separated. A Chinese entry: for each reading, most common
// first, a line kReadingLine + its numbered pinyin ("da3"), then one line per
// sense in the dictionary's order: class, kind, the sense's renderings joined
// by "; " without a verb's "to ". An English entry: one line per Chinese
// rendering, most common first: class, kPlainSense, the word.
inline constexpr char kReadingLine = '#';
inline constexpr char kPlainSense = '.';
inline constexpr char kBoundForm = 'b';  // used only inside words ("(bound form)")
// Read back differently on a machine of the other byte order.
inline constexpr std::uint32_t kByteOrderMark = 0x01020304;

struct Header {
  char magic[8];
  std::uint32_t byteOrderMark;
  std::uint32_t chineseCount;
  std::uint32_t englishCount;
  std::uint32_t longestChineseKey;  // characters
  std::uint32_t longestEnglishKey;  // words
  std::uint32_t totalFrequency;  // sum of all Chinese word frequencies
  std::uint64_t stringsSize;
};
static_assert(sizeof(Header) == 40);

// Chinese table: key = a headword, value = its English renderings, one per
// sense, joined by '/' ("to" in front of verbs; empty for a grammatical word
// that has no English of its own), measure = the classifier its nouns take.
// English table: key = a normalised English phrase, value = the Chinese word,
// tag and measure of that word. A key followed by kVerbMark holds the word
// for its verb reading where that differs ("learn/v": 学习, not 学会), one
// followed by kNounMark the word for its noun reading ("phone/n": 电话).
struct Entry {
  std::uint32_t keyOffset;
  std::uint32_t valueOffset;
  std::uint16_t keyLength;
  std::uint16_t valueLength;
  std::uint32_t frequency;  // 0: a word jieba lacks
  char tag[4];              // jieba's part of speech ("n", "v", "nr" ...), NUL-padded
  char measure[4];          // one Han character in UTF-8, NUL-padded
  std::uint32_t entryOffset;  // the key's dictionary entry (lines above)
  std::uint32_t entryLength;
};
static_assert(sizeof(Entry) == 32);

}  // namespace parlavo::server::dictionary_format
