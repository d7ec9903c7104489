// The chunk stage's numbers and names, Chinese → English: clock times,
// decimals, percentages, durations, money, ordinals, dates, days of the week,
// and names made of a surname and a title. They are tried before noun phrases;
// a number they do not take (一本书) is the noun phrase's.

#include <cmath>
#include <cstdio>
#include <utility>

#include "dictionary/chinese_rules.h"
#include "dictionary/english_morphology.h"
#include "text/utf8.h"

namespace parlavo::server::chinese_rules {

namespace {

constexpr std::string_view kPoint = "点";

// Larger numerals are not read as numbers: no value overflows (九万万万万万 …).
constexpr long kLargestNumber = 1'000'000'000'000'000;

std::optional<long> IntegerValue(std::string_view text) {
  long total = 0, section = 0, digit = -1;
  bool any = false;
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    NextCodePoint(text, pos);
    const ClosedClassWord* number = ChineseClosedWord(text.substr(start, pos - start), WordClass::Number);
    if (!number) return std::nullopt;
    if (number->value < 10) {
      digit = number->value;
    } else if (number->value < 10000) {
      if (section > kLargestNumber) return std::nullopt;
      section += (digit < 0 ? 1 : digit) * number->value;
      digit = -1;
    } else {
      // 万 multiplies its own section (一亿三千万), 亿 all before it (十亿).
      const long part = section + std::max(digit, 0L);
      const long multiplied = number->value == 10000 ? part : total + part;
      if (multiplied + 9 > kLargestNumber / number->value || section > kLargestNumber) return std::nullopt;
      total = number->value == 10000 ? total + part * number->value : multiplied * number->value;
      section = 0;
      digit = -1;
    }
    any = true;
  }
  if (!any) return std::nullopt;
  return total + section + std::max(digit, 0L);
}

bool IsNumeralCharacter(std::string_view c) { return c == kPoint || ChineseClosedWord(c, WordClass::Number); }

bool IsNumeralWord(std::string_view text) {
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    NextCodePoint(text, pos);
    if (!IsNumeralCharacter(text.substr(start, pos - start))) return false;
  }
  return !text.empty();
}

std::string Counted(double value, std::string_view unit) {
  return EnglishNumber(value) + ' ' + (value == 1 || unit == "yuan" ? std::string(unit) : Plural(unit));
}

std::string OrdinalEnglish(long value) {
  for (const ClosedClassWord& row : ClosedClassWords()) {
    if (row.wordClass == WordClass::Ordinal && row.value == value) return std::string(row.english);
  }
  const long tens = value % 100;
  const char* suffix = tens >= 11 && tens <= 13 ? "th"
                       : value % 10 == 1        ? "st"
                       : value % 10 == 2        ? "nd"
                       : value % 10 == 3        ? "rd"
                                                : "th";
  return std::to_string(value) + suffix;
}

}  // namespace

std::optional<double> NumberValue(std::string_view text) {
  const std::size_t point = text.find(kPoint);
  if (point == std::string_view::npos) {
    const auto whole = IntegerValue(text);
    return whole ? std::optional<double>(static_cast<double>(*whole)) : std::nullopt;
  }
  // 零点五: digits after the point, one by one.
  const auto whole = IntegerValue(text.substr(0, point));
  std::string_view fraction = text.substr(point + kPoint.size());
  if (!whole || fraction.empty()) return std::nullopt;
  double value = static_cast<double>(*whole), scale = 1;
  for (std::size_t pos = 0; pos < fraction.size();) {
    const std::size_t start = pos;
    NextCodePoint(fraction, pos);
    const ClosedClassWord* digit = ChineseClosedWord(fraction.substr(start, pos - start), WordClass::Number);
    if (!digit || digit->value > 9) return std::nullopt;
    scale /= 10;
    value += scale * static_cast<double>(digit->value);
  }
  return value;
}

std::string EnglishNumber(double value) {
  if (value != std::floor(value) || std::fabs(value) >= 1e15) {
    char text[32];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
  }
  const long whole = static_cast<long>(value);
  if (whole >= 0 && whole <= 12) {
    for (const ClosedClassWord& row : ClosedClassWords()) {
      if (row.wordClass == WordClass::Number && row.value == whole && !(row.flags & kToEnglish)) {
        return std::string(row.english);
      }
    }
  }
  if (whole == 100 || whole == 1000) return whole == 100 ? "a hundred" : "a thousand";
  // 一千万 → "ten million", 三十亿 → "three billion": round large numbers in words.
  for (const auto& [size, name] : {std::pair{1000000000L, " billion"}, std::pair{1000000L, " million"}}) {
    if (whole >= size && whole % (size / 10) == 0) return EnglishNumber(static_cast<double>(whole) / size) + name;
  }
  return std::to_string(whole);
}

std::optional<Chunk> Chunker::NumberPhrase() {
  const std::size_t start = m_at;
  const auto finish = [&](std::string_view rule, Role role, std::string english) {
    Fired(rule);
    Chunk chunk;
    chunk.role = role;
    chunk.english = std::move(english);
    chunk.determined = true;
    chunk.chinese = JoinedText(start, m_at);
    return std::optional<Chunk>(std::move(chunk));
  };
  // 下周五 → next Friday; 周五 → on Friday.
  for (std::string_view relation : {"下", "上", "这", "本", ""}) {
    std::string joined;
    for (std::size_t end = m_at; end < m_words.size() && end < m_at + 3; ++end) {
      joined += Text(end);
      if (!joined.starts_with(relation)) break;
      if (const auto* day = ChineseClosedWord(std::string_view(joined).substr(relation.size()), WordClass::Weekday)) {
        m_at = end + 1;
        const std::string_view before = relation == "下"   ? "next "
                                        : relation == "上" ? "last "
                                        : relation.empty() ? "on "
                                                           : "this ";
        return finish("下周五: next Friday", Role::Time, std::string(before) + std::string(day->english));
      }
    }
  }
  // 第三 + 量词 → third: 第三天 → the third day.
  if (Text(m_at).starts_with("第")) {
    std::string joined = JoinedText(m_at, Text(m_at) == "第" ? m_at + 2 : m_at + 1);
    std::string_view rest = std::string_view(joined).substr(std::string_view("第").size());
    std::size_t digits = 0;
    for (std::size_t pos = 0; pos < rest.size();) {
      const std::size_t at = pos;
      NextCodePoint(rest, pos);
      if (!ChineseClosedWord(rest.substr(at, pos - at), WordClass::Number)) break;
      digits = pos;
    }
    const auto value = IntegerValue(rest.substr(0, digits));
    const std::string_view measure = rest.substr(digits);
    const auto measureEntry = measure.empty() ? std::nullopt : m_index.Chinese(measure);
    if (value && *value >= 1 && (measure.empty() || (measureEntry && CountCodePoints(measure) == 1))) {
      m_at = Text(m_at) == "第" ? m_at + 2 : m_at + 1;
      std::string english = "the " + OrdinalEnglish(*value);
      if (measure.empty() && IsMeasure(m_at)) {
        if (!IsNoun(m_at + 1)) english += ' ' + Sense(Senses(m_at), false);  // 第三天: "the third day"
        ++m_at;
      } else if (measureEntry && measure != "个" && !IsNoun(m_at)) {
        const ClosedClassWord* container = ChineseClosedWord(measure, WordClass::Container);
        english += ' ' + (container ? std::string(container->english) : Sense(measureEntry->value, false));
      }
      if (auto noun = IsNoun(m_at) ? NounPhrase() : std::nullopt) english += ' ' + noun->english;  // 第二个问题
      return finish("第 + number: ordinal", Role::Noun, english);
    }
  }
  // 三月五日 → March 5.
  std::size_t runEnd = m_at;
  std::string run;
  while (runEnd < m_words.size() && m_words[runEnd].han && IsNumeralWord(Text(runEnd))) run += Text(runEnd++);
  const ClosedClassWord* month = ChineseClosedWord(Text(m_at), WordClass::Month);
  std::size_t monthEnd = m_at + 1;
  if (!month && !run.empty() && Text(runEnd) == "月") {
    month = ChineseClosedWord(run + "月", WordClass::Month);
    monthEnd = runEnd + 1;
  }
  if (month) {
    m_at = monthEnd;
    std::string english(month->english);
    std::size_t dayEnd = m_at;
    std::string day;
    while (dayEnd < m_words.size() && IsNumeralWord(Text(dayEnd))) day += Text(dayEnd++);
    if (const auto value = NumberValue(day); value && (Text(dayEnd) == "日" || Text(dayEnd) == "号")) {
      m_at = dayEnd + 1;
      return finish("月 + 日: date", Role::Time, "on " + english + ' ' + std::to_string(static_cast<long>(*value)));
    }
    return finish("月: month", Role::Time, "in " + english);
  }
  // 百分之零点五 → 0.5%.
  if (Text(m_at) == "百分之") {
    std::size_t end = m_at + 1;
    std::string percent;
    while (end < m_words.size() && IsNumeralWord(Text(end))) percent += Text(end++);
    const auto value = NumberValue(percent);
    if (!value) return std::nullopt;
    m_at = end;
    return finish("百分之 + number: percent", Role::Noun,
                  EnglishNumber(*value) + (*value > 12 || *value != std::floor(*value) ? "%" : " percent"));
  }
  // 一个小时: the segmenter glues the number to 个.
  if (const std::string_view word = Text(m_at);
      run.empty() && word.ends_with("个") && word.size() > std::string_view("个").size()) {
    const auto value = NumberValue(word.substr(0, word.size() - std::string_view("个").size()));
    if (value && m_at + 1 < m_words.size()) {
      if (const ClosedClassWord* unit = ChineseClosedWord("个" + std::string(Text(m_at + 1)), WordClass::TimeUnit)) {
        m_at += 2;
        return finish("number + unit of time: duration", Role::Noun, Counted(*value, unit->english));
      }
    }
  }
  // 二零二四年 → 2024.
  if (run.size() >= 4 * std::string_view("零").size() && Text(runEnd) == "年" && run.find("十") == std::string::npos &&
      run.find("百") == std::string::npos && run.find("千") == std::string::npos) {
    std::string year;
    for (std::size_t pos = 0; pos < run.size();) {
      const std::size_t at = pos;
      NextCodePoint(run, pos);
      const ClosedClassWord* digit = ChineseClosedWord(std::string_view(run).substr(at, pos - at), WordClass::Number);
      if (!digit || digit->value > 9) return std::nullopt;
      year += static_cast<char>('0' + digit->value);
    }
    m_at = runEnd + 1;
    return finish("digits + 年: year", Role::Time, "in " + year);
  }
  if (run.empty()) return std::nullopt;
  // 十一点 → eleven o'clock; 十一点半 → half past eleven; 零点五 → 0.5.
  const std::size_t point = run.find(kPoint);
  if (point != std::string::npos) {
    const auto hour = IntegerValue(std::string_view(run).substr(0, point));
    const std::string_view minutes = std::string_view(run).substr(point + kPoint.size());
    const std::string_view next = Text(runEnd);
    if (hour && *hour <= 24 && minutes.empty() && (*hour > 1 || next == "钟" || next == "半")) {
      m_at = runEnd + (next == "钟" || next == "半" ? 1 : 0);
      const std::string hourWord = EnglishNumber(static_cast<double>(*hour));
      return finish("点: clock time", Role::Time,
                    next == "半" ? "at half past " + hourWord : "at " + hourWord + " o'clock");
    }
    if (const auto value = IntegerValue(minutes); hour && value && *hour <= 24 && next == "分") {
      m_at = runEnd + 1;
      char clock[48];
      std::snprintf(clock, sizeof clock, "at %ld:%02ld", *hour, *value % 60);
      return finish("点 + 分: clock time", Role::Time, clock);
    }
    const auto value = NumberValue(run);
    if (!value) return std::nullopt;
    m_at = runEnd;
    if (const auto* currency = ChineseClosedWord(Text(m_at), WordClass::Currency)) {
      ++m_at;
      return finish("number + currency: money", Role::Noun, Counted(*value, currency->english));
    }
    return finish("点: decimal", Role::Noun, EnglishNumber(*value));
  }
  const auto value = NumberValue(run);
  if (!value) return std::nullopt;
  // 三十分钟 → 30 minutes; 一个小时 → one hour.
  if (const auto duration = Duration(*value, runEnd))
    return finish("number + unit of time: duration", Role::Noun, *duration);
  // 五十美元 → 50 dollars; 五十块 → 50 yuan, but 一块蛋糕 is a piece of cake.
  if (const auto* currency = ChineseClosedWord(Text(runEnd), WordClass::Currency); currency && !IsNoun(runEnd + 1)) {
    m_at = runEnd + 1;
    return finish("number + currency: money", Role::Noun, Counted(*value, currency->english));
  }
  return std::nullopt;
}

// 数 + (个) + 分钟/小时/天 → number + minutes/hours/days, unless a noun follows (三天时间 is a noun phrase's).
std::optional<std::string> Chunker::Duration(double value, std::size_t unitAt) {
  const bool ge = Text(unitAt) == "个";
  const std::string unitText = ge ? "个" + std::string(Text(unitAt + 1)) : std::string(Text(unitAt));
  const ClosedClassWord* unit = ChineseClosedWord(unitText, WordClass::TimeUnit);
  if (!unit || IsNoun(unitAt + (ge ? 2 : 1))) return std::nullopt;
  m_at = unitAt + (ge ? 2 : 1);
  return Counted(value, unit->english);
}

// 小/老 + 姓 → Xiao/Lao + surname; 姓 + 先生/老师 → Mr/Teacher + surname;
// 叫 + 名字 → be called + the name kept whole (我叫王小明: not "king small bright").
std::optional<Chunk> Chunker::NameWithTitle() {
  std::string joined(Text(m_at));
  std::size_t end = m_at + 1;
  if (CountCodePoints(joined) == 1 && m_at + 1 < m_words.size()) joined += Text(end++);
  const auto name = [&](std::string english) {
    Fired("surname + title: name");
    Chunk chunk;
    chunk.role = Role::Noun;
    chunk.proper = true;
    chunk.english = std::move(english);
    chunk.chinese = joined;
    m_at = end;
    return std::optional<Chunk>(std::move(chunk));
  };
  std::size_t first = 0;
  NextCodePoint(joined, first);
  if (CountCodePoints(joined) == 2) {
    const ClosedClassWord* title = ChineseClosedWord(std::string_view(joined).substr(0, first), WordClass::Title);
    const ClosedClassWord* surname = ChineseClosedWord(std::string_view(joined).substr(first), WordClass::Surname);
    if (title && surname && first == std::string_view("小").size() &&
        !(m_words[m_at].entry && Text(m_at) == joined && m_words[m_at].entry->frequency > 50)) {
      return name(std::string(title->english) + ' ' + std::string(surname->english));
    }
  }
  const ClosedClassWord* surname = ChineseClosedWord(Text(m_at), WordClass::Surname);
  const ClosedClassWord* title = surname ? ChineseClosedWord(Text(m_at + 1), WordClass::Title) : nullptr;
  if (surname && title && title->english != "Xiao" && title->english != "Lao") {
    joined = JoinedText(m_at, m_at + 2);
    end = m_at + 2;
    return name(std::string(title->english) + ' ' + std::string(surname->english));
  }
  const bool called = !m_chunks.empty() && m_chunks.back().english == "be called";
  const std::string rest = JoinedText(m_at, m_words.size());
  const std::size_t length = CountCodePoints(rest);
  if (called && length >= 2 && length <= 3 && m_words[m_at].han &&
      !ChineseClosedWord(Text(m_at), WordClass::QuestionWord)) {
    Fired("叫 + name: kept whole");
    Chunk chunk;
    chunk.role = Role::Noun;
    chunk.proper = true;
    chunk.english = rest;
    chunk.chinese = rest;
    m_at = m_words.size();
    return chunk;
  }
  return std::nullopt;
}

}  // namespace parlavo::server::chinese_rules
