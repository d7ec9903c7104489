#include "dictionary/word_entry.h"

#include <algorithm>
#include <vector>

#include "dictionary/english_morphology.h"
#include "dictionary/pinyin_marks.h"
#include "text/ascii.h"
#include "text/unicode_script.h"

namespace parlavo::server {

namespace {

namespace format = dictionary_format;

// Enough to find the everyday sense and a few more, short enough to read at a glance.
constexpr std::size_t kMostSenses = 8;
constexpr std::size_t kMostRenderingsPerSense = 2;
// Each reading of a Chinese word, each class of an English one, after the
// first shows its commonest senses, and the first at least half.
constexpr std::size_t kSensesPerLaterGroup = 2;

// How many senses of each group (its size given, the main group first) an entry shows.
std::vector<std::size_t> Quotas(const std::vector<std::size_t>& sizes) {
  std::vector<std::size_t> quotas(sizes.size());
  if (sizes.empty()) return quotas;
  quotas[0] = std::min(sizes[0], kMostSenses / 2);
  std::size_t left = kMostSenses - quotas[0];
  for (std::size_t i = 1; i < sizes.size(); ++i) {
    quotas[i] = std::min({sizes[i], kSensesPerLaterGroup, left});
    left -= quotas[i];
  }
  quotas[0] += std::min(sizes[0] - quotas[0], left);
  return quotas;
}

std::string_view ClassLabel(char wordClass) {
  switch (wordClass) {
    case format::kVerbClass: return "动词";
    case format::kNounClass: return "名词";
    case format::kAdjectiveClass: return "形容词";
    case format::kAdverbClass: return "副词";
    case format::kMeasureClass: return "量词";
    case format::kNumeralClass: return "数词";
    case format::kPronounClass: return "代词";
    case format::kPrepositionClass: return "介词";
    case format::kConjunctionClass: return "连词";
    case format::kParticleClass: return "助词";
    case format::kInterjectionClass: return "叹词";
    case format::kIdiomClass: return "习语";
    case format::kNameClass: return "专名";
    default: return "其他";
  }
}

// Lines "label：text" for senses grouped by class, the classes in the order
// of their first sense; in a class, bound forms (used only inside words)
// after the senses a word has on its own.
std::string GroupedLines(std::vector<IndexSense> senses, std::string_view separator) {
  std::vector<char> classes;
  for (const IndexSense& sense : senses) {
    if (std::find(classes.begin(), classes.end(), sense.wordClass) == classes.end()) classes.push_back(sense.wordClass);
  }
  std::stable_partition(senses.begin(), senses.end(), [](const IndexSense& sense) { return !sense.bound; });
  std::string lines;
  for (char wordClass : classes) {
    lines += '\n';
    lines += ClassLabel(wordClass);
    lines += "：";
    bool first = true;
    for (const IndexSense& sense : senses) {
      if (sense.wordClass != wordClass) continue;
      if (!first) lines += separator;
      lines += sense.text;
      first = false;
    }
  }
  return lines;
}

// The sense with at most kMostRenderingsPerSense of its "; "-joined renderings.
std::string_view Shortened(std::string_view text) {
  std::size_t end = 0;
  for (std::size_t kept = 0; kept < kMostRenderingsPerSense && end != std::string_view::npos; ++kept) {
    end = text.find("; ", end == 0 ? 0 : end + 2);
  }
  return text.substr(0, end);
}

// The renderings an English entry shows, each class (in the index's order,
// the class English uses the word in most first) within its quota.
std::vector<IndexSense> MainRenderings(const std::vector<IndexSense>& renderings) {
  std::vector<char> classes;
  std::vector<std::size_t> sizes;
  for (const IndexSense& rendering : renderings) {
    const auto found = std::find(classes.begin(), classes.end(), rendering.wordClass);
    if (found == classes.end()) {
      classes.push_back(rendering.wordClass);
      sizes.push_back(1);
    } else {
      ++sizes[static_cast<std::size_t>(found - classes.begin())];
    }
  }
  std::vector<std::size_t> quotas = Quotas(sizes);
  std::vector<IndexSense> shown;
  for (const IndexSense& rendering : renderings) {
    const auto group = std::find(classes.begin(), classes.end(), rendering.wordClass) - classes.begin();
    std::size_t& quota = quotas[static_cast<std::size_t>(group)];
    if (quota == 0) continue;
    --quota;
    shown.push_back(rendering);
  }
  return shown;
}

// The keys an English text may be found under, most likely first: itself,
// then with its first or last word reduced to a dictionary form.
std::vector<std::string> EnglishKeys(const std::vector<std::string>& words) {
  std::vector<std::string> keys;
  const auto join = [&](std::size_t from, std::size_t to) {
    std::string text;
    for (std::size_t i = from; i < to; ++i) text += (text.empty() ? "" : " ") + words[i];
    return text;
  };
  const std::string rest = join(1, words.size());
  for (const WordForm& form : LookupForms(words.front())) keys.push_back(rest.empty() ? form.lemma : form.lemma + ' ' + rest);
  if (words.size() > 1) {
    const std::string head = join(0, words.size() - 1);
    for (const WordForm& form : LookupForms(words.back())) keys.push_back(head + ' ' + form.lemma);
  }
  return keys;
}

}  // namespace

std::optional<std::string> ChineseWordEntry(const DictionaryIndex& index, std::string_view text) {
  const std::string_view word = TrimAscii(text);
  if (word.size() > format::kMaxKeyBytes || !IsAllHan(word)) return std::nullopt;
  std::vector<IndexReading> readings = index.ChineseReadings(word);
  std::vector<std::size_t> sizes;
  for (IndexReading& reading : readings) {
    std::vector<IndexSense>& senses = reading.senses;
    for (IndexSense& sense : senses) sense.text = Shortened(sense.text);
    // Senses of several CC-CEDICT entries may read alike.
    for (std::size_t i = senses.size(); i-- > 1;) {
      const auto same = [&](const IndexSense& other) { return other.text == senses[i].text; };
      if (std::any_of(senses.begin(), senses.begin() + static_cast<std::ptrdiff_t>(i), same)) {
        senses.erase(senses.begin() + static_cast<std::ptrdiff_t>(i));
      }
    }
    sizes.push_back(senses.size());
  }
  const std::vector<std::size_t> quotas = Quotas(sizes);
  std::string entry;
  for (std::size_t r = 0; r < readings.size(); ++r) {
    std::vector<IndexSense>& senses = readings[r].senses;
    senses.resize(quotas[r]);
    if (senses.empty()) continue;
    entry += entry.empty() ? std::string(word) + ' ' : std::string("\n");
    entry += PinyinWithToneMarks(readings[r].pinyin);
    entry += GroupedLines(senses, "; ");
  }
  if (entry.empty()) return std::nullopt;
  return entry;
}

std::optional<std::string> EnglishWordEntry(const DictionaryIndex& index, std::string_view text) {
  const std::string_view trimmed = TrimAscii(text);
  if (trimmed.size() > format::kMaxKeyBytes) return std::nullopt;
  const std::string lower = ToLowerAscii(trimmed);
  std::vector<std::string> words;
  std::string word;
  for (char c : lower + ' ') {
    if (c == ' ' || c == '\t') {
      if (!word.empty()) words.push_back(std::move(word));
      word.clear();
    } else if (IsAsciiAlphanumeric(c) || ((c == '-' || c == '\'') && !word.empty())) {
      word += c;
    } else {
      return std::nullopt;
    }
  }
  // An article or a verb's "to" in front is not part of the key.
  if (words.size() > 1 && (words.front() == "to" || words.front() == "a" || words.front() == "an" ||
                           words.front() == "the")) {
    words.erase(words.begin());
  }
  if (words.empty() || words.size() > index.longestEnglishKey()) return std::nullopt;
  // A key that only names someone or somewhere yields to a dictionary form
  // that is a word ("banks" is more often a bank than Banks).
  std::optional<std::string> nameOnly;
  for (const std::string& key : EnglishKeys(words)) {
    const std::vector<IndexSense> renderings = index.EnglishRenderings(key);
    if (renderings.empty()) continue;
    std::string entry = key + GroupedLines(MainRenderings(renderings), "；");
    const bool aWord = std::any_of(renderings.begin(), renderings.end(),
                                   [](const IndexSense& r) { return r.wordClass != format::kNameClass; });
    if (aWord) return entry;
    if (!nameOnly) nameOnly = std::move(entry);
  }
  return nameOnly;
}

}  // namespace parlavo::server
