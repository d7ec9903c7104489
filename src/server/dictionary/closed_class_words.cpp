#include "dictionary/closed_class_words.h"

#include <algorithm>
#include <string>
#include <vector>

namespace parlavo::server {

namespace {

using enum WordClass;

// One row per word and class. A row without kToEnglish or kToChinese reads
// both ways; where a language has several words for one of the other's, the
// others read one way only (您 → you; you → 你).
constexpr ClosedClassWord kWords[] = {
    // Pronouns: subject, object and possessive forms.
    {Pronoun, "我", "I", kFirstPerson, "me", "my"},
    {Pronoun, "你", "you", kPlural, "you", "your"},
    {Pronoun, "您", "you", kPlural | kToEnglish, "you", "your"},
    {Pronoun, "他", "he", kThirdPerson, "him", "his"},
    {Pronoun, "她", "she", kThirdPerson, "her", "her"},
    {Pronoun, "它", "it", kThirdPerson, "it", "its"},
    {Pronoun, "我们", "we", kPlural, "us", "our"},
    {Pronoun, "咱们", "we", kPlural | kToEnglish, "us", "our"},
    {Pronoun, "你们", "you", kPlural | kToEnglish, "you", "your"},
    {Pronoun, "他们", "they", kPlural, "them", "their"},
    {Pronoun, "她们", "they", kPlural | kToEnglish, "them", "their"},
    {Pronoun, "它们", "they", kPlural | kToEnglish, "them", "their"},
    {Pronoun, "大家", "everyone", kThirdPerson, "everyone", "everyone's"},
    {Possessive, "我的", "my", kToChinese},
    {Possessive, "你的", "your", kToChinese},
    {Possessive, "他的", "his", kToChinese},
    {Possessive, "她的", "her", kToChinese},
    {Possessive, "它的", "its", kToChinese},
    {Possessive, "我们的", "our", kToChinese},
    {Possessive, "他们的", "their", kToChinese},
    // Determiners and question words.
    {Article, "一", "a", kToChinese},
    {Article, "一", "an", kToChinese},
    {Article, "", "the", kToChinese},
    {Determiner, "这", "this"},
    {Determiner, "那", "that"},
    {Determiner, "这个", "this", kToEnglish},
    {Determiner, "那个", "that", kToEnglish},
    {Determiner, "这些", "these", kPlural},
    {Determiner, "那些", "those", kPlural},
    {Determiner, "每", "every"},
    {Determiner, "每个", "every", kToEnglish},
    {Determiner, "所有", "all", kPlural},
    {Determiner, "许多", "many", kPlural | kToEnglish},
    {Determiner, "很多", "many", kPlural},
    {Determiner, "很多", "much", kToChinese},
    {Determiner, "一些", "some", kPlural},
    {Determiner, "一点", "a little", kToEnglish},
    {Determiner, "该", "the", kToEnglish | kBeforeNoun},
    {Determiner, "本", "this", kToEnglish | kBeforeNoun},
    {QuestionWord, "什么", "what"},
    {QuestionWord, "哪", "which", kToEnglish},
    {QuestionWord, "哪个", "which"},
    {QuestionWord, "谁", "who"},
    {QuestionWord, "哪里", "where"},
    {QuestionWord, "哪儿", "where", kToEnglish},
    {QuestionWord, "多少", "how much", kToEnglish},
    {QuestionWord, "几", "how many", kPlural | kToEnglish},
    {QuestionWord, "怎么", "how"},
    {QuestionWord, "什么时候", "when"},
    {QuestionWord, "几点", "what time", kToEnglish},
    {QuestionWord, "为什么", "why", kToChinese},
    // Measure words with an English counterpart: 一杯咖啡 ↔ a cup of coffee.
    {Container, "杯", "cup"},
    {Container, "杯", "glass", kToChinese},
    {Container, "瓶", "bottle"},
    {Container, "碗", "bowl"},
    {Container, "盒", "box"},
    {Container, "箱", "box", kToEnglish},
    {Container, "袋", "bag"},
    {Container, "块", "piece"},
    {Container, "片", "slice"},
    {Container, "包", "pack"},
    {Container, "壶", "pot", kToEnglish},
    {Container, "盘", "plate"},
    {Container, "双", "pair"},
    {Container, "套", "set", kToEnglish},
    {Container, "群", "group"},
    {Container, "次", "time", kToEnglish},
    {Container, "页", "page", kToEnglish},
    // Units of time: 三十分钟 ↔ 30 minutes.
    {TimeUnit, "秒", "second"},
    {TimeUnit, "秒钟", "second", kToEnglish},
    {TimeUnit, "分钟", "minute"},
    {TimeUnit, "小时", "hour"},
    {TimeUnit, "个小时", "hour", kToEnglish},
    {TimeUnit, "天", "day"},
    {TimeUnit, "周", "week"},
    {TimeUnit, "星期", "week", kToEnglish},
    {TimeUnit, "个星期", "week", kToEnglish},
    {TimeUnit, "个月", "month"},
    {TimeUnit, "年", "year"},
    {TimeUnit, "晚", "night", kToChinese},
    {TimeUnit, "周末", "weekend", kToChinese},
    // Words after a noun that place it: 公园里 → in the park.
    {Locative, "里", "in", kToEnglish},
    {Locative, "里面", "in", kToEnglish},
    {Locative, "中", "in", kToEnglish},
    {Locative, "内", "in", kToEnglish},
    {Locative, "上", "on", kToEnglish},
    {Locative, "上面", "on", kToEnglish},
    {Locative, "下", "under", kToEnglish},
    {Locative, "外", "outside", kToEnglish},
    // Adverbs that are grammar; 都 and 就 go unsaid.
    {Adverb, "都", "", kToEnglish},
    {Adverb, "就", "", kToEnglish},
    {Adverb, "也", "also"},
    {Adverb, "还", "still"},
    {Adverb, "还是", "still", kToEnglish},
    {Adverb, "再", "again"},
    {Adverb, "又", "again", kToEnglish},
    {Adverb, "一起", "together", kToEnglish},
    {Adverb, "一直", "always", kToEnglish},
    {Adverb, "总是", "always", kToChinese},
    {Adverb, "经常", "often", kToChinese},
    {Adverb, "已经", "already", kToChinese},
    {Adverb, "曾经", "ever", kToChinese},
    {Adverb, "刚", "just", kToEnglish},
    {Adverb, "刚刚", "just", kToEnglish},
    // Degree before an adjective or verb.
    {Degree, "很", "very"},
    {Degree, "非常", "very", kToEnglish},
    {Degree, "太", "too"},
    {Degree, "真", "really"},
    {Degree, "特别", "especially", kToEnglish},
    {Degree, "比较", "rather", kToEnglish},
    {Degree, "挺", "quite", kToChinese},
    {Degree, "最", "most"},
    {Degree, "更", "more"},
    {Degree, "有点", "a little", kToEnglish},
    {Degree, "越来越", "more and more", kToEnglish},
    {Degree, "有点儿", "a little", kToEnglish},
    // Modal verbs; 会 is "will" in a clause about the future.
    {Modal, "能", "can"},
    {Modal, "可以", "can", kToEnglish},
    {Modal, "能够", "can", kToEnglish},
    {Modal, "应该", "should"},
    {Modal, "必须", "must"},
    {Modal, "会", "can", kToEnglish},
    {Modal, "可能", "might"},
    {Modal, "得", "have to", kToEnglish},
    {Modal, "无法", "cannot", kToEnglish},
    {Modal, "能", "could", kToChinese},
    {Modal, "会", "will", kToChinese},
    {Modal, "会", "would", kToChinese},
    {Modal, "可以", "may", kToChinese},
    {Modal, "会", "shall", kToChinese},
    // Negators: 没 and 没有 deny what happened, 别 forbids.
    {Negator, "不", "not"},
    {Negator, "没", "not", kPast | kToEnglish},
    {Negator, "没有", "not", kPast | kToEnglish},
    {Negator, "别", "not", kToEnglish},
    {Negator, "未", "not", kPast | kToEnglish},
    {Negator, "从不", "never", kToChinese},
    {Negator, "没有", "no", kToChinese},
    // English auxiliaries.
    {Be, "", "am", kToChinese},
    {Be, "", "is", kToChinese},
    {Be, "", "are", kToChinese},
    {Be, "", "be", kToChinese},
    {Be, "", "was", kPast | kToChinese},
    {Be, "", "were", kPast | kToChinese},
    {Be, "", "been", kToChinese},
    {Be, "", "being", kToChinese},
    {Do, "做", "do", kToChinese},
    {Do, "做", "does", kToChinese},
    {Do, "做", "did", kPast | kToChinese},
    {Have, "有", "have", kToChinese},
    {Have, "有", "has", kToChinese},
    {Have, "有", "had", kPast | kToChinese},
    // Prepositions; 在 + place moves after the English verb.
    {Preposition, "在", "at", kToEnglish},
    {Preposition, "从", "from"},
    {Preposition, "到", "to", kToEnglish},
    {Preposition, "离", "from", kToEnglish},
    {Preposition, "里", "in", kToChinese},
    {Preposition, "", "at", kToChinese},
    {Preposition, "上", "on", kToChinese},
    {Preposition, "", "to", kToChinese},
    {Preposition, "跟", "with", kToChinese},
    {Preposition, "为", "for", kToChinese},
    {Preposition, "", "of", kToChinese},
    {Preposition, "里", "into", kToChinese},
    {Preposition, "被", "by", kToChinese},
    {Preposition, "比", "than", kToChinese},
    // After a time or noun: 周五之前 → before Friday, 三天内 → within three days.
    {Postposition, "之前", "before", kToEnglish},
    {Postposition, "以前", "before", kToEnglish},
    {Postposition, "前", "before", kToEnglish},
    {Postposition, "之后", "after", kToEnglish},
    {Postposition, "以后", "after", kToEnglish},
    {Postposition, "后", "after", kToEnglish},
    {Postposition, "以内", "within", kToEnglish},
    {Postposition, "之内", "within", kToEnglish},
    {Postposition, "内", "within", kToEnglish},
    {Preposition, "以前", "before", kToChinese},
    {Preposition, "以后", "after", kToChinese},
    {Preposition, "期间", "during", kToChinese},
    // Conjunctions.
    {Conjunction, "和", "and"},
    {Conjunction, "但是", "but"},
    {Conjunction, "或者", "or"},
    {Conjunction, "因为", "because"},
    {Conjunction, "如果", "if"},
    {Conjunction, "所以", "so"},
    {Conjunction, "虽然", "although"},
    // Particles: their work is done by the rules.
    {Particle, "的", "", kToEnglish},
    {Particle, "了", "", kToEnglish},
    {Particle, "吗", "", kToEnglish},
    {Particle, "呢", "", kToEnglish},
    {Particle, "吧", "", kToEnglish},
    {Particle, "啊", "", kToEnglish},
    {Particle, "们", "", kToEnglish},
    {Please, "请", "please"},
    {TimeWord, "今天", "today", kToChinese},
    {TimeWord, "明天", "tomorrow", kToChinese},
    {TimeWord, "昨天", "yesterday", kToChinese},
    {TimeWord, "现在", "now", kToChinese},
    {TimeWord, "今晚", "tonight", kToChinese},
    {TimeWord, "早上", "morning", kToChinese},
    {TimeWord, "晚上", "evening", kToChinese},
    {TimeWord, "下午", "afternoon", kToChinese},
    {There, "那里", "there", kToChinese},
    {Let, "我们", "let's", kToChinese},
    {Let, "让", "let", kToChinese},
    // Numbers: digits and the units that multiply them.
    {Number, "零", "zero", 0, {}, {}, 0},
    {Number, "一", "one", 0, {}, {}, 1},
    {Number, "二", "two", 0, {}, {}, 2},
    {Number, "两", "two", kToEnglish, {}, {}, 2},
    {Number, "三", "three", 0, {}, {}, 3},
    {Number, "四", "four", 0, {}, {}, 4},
    {Number, "五", "five", 0, {}, {}, 5},
    {Number, "六", "six", 0, {}, {}, 6},
    {Number, "七", "seven", 0, {}, {}, 7},
    {Number, "八", "eight", 0, {}, {}, 8},
    {Number, "九", "nine", 0, {}, {}, 9},
    {Number, "十", "ten", 0, {}, {}, 10},
    {Number, "十一", "eleven", kToChinese, {}, {}, 11},
    {Number, "十二", "twelve", kToChinese, {}, {}, 12},
    {Number, "十三", "thirteen", kToChinese, {}, {}, 13},
    {Number, "十四", "fourteen", kToChinese, {}, {}, 14},
    {Number, "十五", "fifteen", kToChinese, {}, {}, 15},
    {Number, "十六", "sixteen", kToChinese, {}, {}, 16},
    {Number, "十七", "seventeen", kToChinese, {}, {}, 17},
    {Number, "十八", "eighteen", kToChinese, {}, {}, 18},
    {Number, "十九", "nineteen", kToChinese, {}, {}, 19},
    {Number, "二十", "twenty", kToChinese, {}, {}, 20},
    {Number, "三十", "thirty", kToChinese, {}, {}, 30},
    {Number, "四十", "forty", kToChinese, {}, {}, 40},
    {Number, "五十", "fifty", kToChinese, {}, {}, 50},
    {Number, "六十", "sixty", kToChinese, {}, {}, 60},
    {Number, "七十", "seventy", kToChinese, {}, {}, 70},
    {Number, "八十", "eighty", kToChinese, {}, {}, 80},
    {Number, "九十", "ninety", kToChinese, {}, {}, 90},
    {Number, "百", "hundred", 0, {}, {}, 100},
    {Number, "千", "thousand", 0, {}, {}, 1000},
    {Number, "万", "ten thousand", kToEnglish, {}, {}, 10000},
    {Number, "亿", "hundred million", kToEnglish, {}, {}, 100000000},
    {Number, "百万", "million", kToChinese, {}, {}, 1000000},
    // Ordinals: 第三 ↔ third; above twelve, digits (21st).
    {Ordinal, "第一", "first", 0, {}, {}, 1},
    {Ordinal, "第二", "second", 0, {}, {}, 2},
    {Ordinal, "第三", "third", 0, {}, {}, 3},
    {Ordinal, "第四", "fourth", 0, {}, {}, 4},
    {Ordinal, "第五", "fifth", 0, {}, {}, 5},
    {Ordinal, "第六", "sixth", 0, {}, {}, 6},
    {Ordinal, "第七", "seventh", 0, {}, {}, 7},
    {Ordinal, "第八", "eighth", 0, {}, {}, 8},
    {Ordinal, "第九", "ninth", 0, {}, {}, 9},
    {Ordinal, "第十", "tenth", 0, {}, {}, 10},
    {Ordinal, "第十一", "eleventh", 0, {}, {}, 11},
    {Ordinal, "第十二", "twelfth", 0, {}, {}, 12},
    // Months and days of the week: 三月五日 ↔ March 5, 下周五 ↔ next Friday.
    {Month, "一月", "January", 0, {}, {}, 1},
    {Month, "二月", "February", 0, {}, {}, 2},
    {Month, "三月", "March", 0, {}, {}, 3},
    {Month, "四月", "April", 0, {}, {}, 4},
    {Month, "五月", "May", 0, {}, {}, 5},
    {Month, "六月", "June", 0, {}, {}, 6},
    {Month, "七月", "July", 0, {}, {}, 7},
    {Month, "八月", "August", 0, {}, {}, 8},
    {Month, "九月", "September", 0, {}, {}, 9},
    {Month, "十月", "October", 0, {}, {}, 10},
    {Month, "十一月", "November", 0, {}, {}, 11},
    {Month, "十二月", "December", 0, {}, {}, 12},
    {Weekday, "周一", "Monday", 0, {}, {}, 1},
    {Weekday, "周二", "Tuesday", 0, {}, {}, 2},
    {Weekday, "周三", "Wednesday", 0, {}, {}, 3},
    {Weekday, "周四", "Thursday", 0, {}, {}, 4},
    {Weekday, "周五", "Friday", 0, {}, {}, 5},
    {Weekday, "周六", "Saturday", 0, {}, {}, 6},
    {Weekday, "周日", "Sunday", 0, {}, {}, 7},
    {Weekday, "星期一", "Monday", kToEnglish, {}, {}, 1},
    {Weekday, "星期二", "Tuesday", kToEnglish, {}, {}, 2},
    {Weekday, "星期三", "Wednesday", kToEnglish, {}, {}, 3},
    {Weekday, "星期四", "Thursday", kToEnglish, {}, {}, 4},
    {Weekday, "星期五", "Friday", kToEnglish, {}, {}, 5},
    {Weekday, "星期六", "Saturday", kToEnglish, {}, {}, 6},
    {Weekday, "星期日", "Sunday", kToEnglish, {}, {}, 7},
    {Weekday, "星期天", "Sunday", kToEnglish, {}, {}, 7},
    // Money: 五十美元 ↔ fifty dollars.
    {Currency, "美元", "dollar"},
    {Currency, "元", "yuan"},
    {Currency, "块", "yuan", kToEnglish},
    {Currency, "欧元", "euro"},
    {Currency, "英镑", "pound"},
    {Currency, "分", "cent", kToChinese},
    // Titles with a surname: 小王 → Xiao Wang, 王先生 → Mr Wang.
    {Title, "小", "Xiao", kToEnglish},
    {Title, "老", "Lao", kToEnglish},
    {Title, "先生", "Mr", kToEnglish},
    {Title, "女士", "Ms", kToEnglish},
    {Title, "老师", "Teacher", kToEnglish},
    {Title, "经理", "Manager", kToEnglish},
    {Title, "医生", "Dr", kToEnglish},
    // Common surnames, for names the dictionary lacks: 小王 → Xiao Wang.
    {Surname, "王", "Wang", kToEnglish}, {Surname, "李", "Li", kToEnglish},
    {Surname, "张", "Zhang", kToEnglish}, {Surname, "刘", "Liu", kToEnglish},
    {Surname, "陈", "Chen", kToEnglish}, {Surname, "杨", "Yang", kToEnglish},
    {Surname, "黄", "Huang", kToEnglish}, {Surname, "赵", "Zhao", kToEnglish},
    {Surname, "吴", "Wu", kToEnglish}, {Surname, "周", "Zhou", kToEnglish},
    {Surname, "徐", "Xu", kToEnglish}, {Surname, "孙", "Sun", kToEnglish},
    {Surname, "马", "Ma", kToEnglish}, {Surname, "朱", "Zhu", kToEnglish},
    {Surname, "胡", "Hu", kToEnglish}, {Surname, "郭", "Guo", kToEnglish},
    {Surname, "何", "He", kToEnglish}, {Surname, "高", "Gao", kToEnglish},
    {Surname, "林", "Lin", kToEnglish}, {Surname, "罗", "Luo", kToEnglish},
    {Surname, "郑", "Zheng", kToEnglish}, {Surname, "梁", "Liang", kToEnglish},
    {Surname, "谢", "Xie", kToEnglish}, {Surname, "宋", "Song", kToEnglish},
    {Surname, "唐", "Tang", kToEnglish}, {Surname, "韩", "Han", kToEnglish},
    {Surname, "冯", "Feng", kToEnglish}, {Surname, "邓", "Deng", kToEnglish},
    {Surname, "曹", "Cao", kToEnglish}, {Surname, "彭", "Peng", kToEnglish},
    {Surname, "曾", "Zeng", kToEnglish}, {Surname, "肖", "Xiao", kToEnglish},
    {Surname, "田", "Tian", kToEnglish}, {Surname, "董", "Dong", kToEnglish},
    {Surname, "袁", "Yuan", kToEnglish}, {Surname, "潘", "Pan", kToEnglish},
    {Surname, "蒋", "Jiang", kToEnglish}, {Surname, "蔡", "Cai", kToEnglish},
    {Surname, "杜", "Du", kToEnglish}, {Surname, "叶", "Ye", kToEnglish},
    {Surname, "程", "Cheng", kToEnglish}, {Surname, "苏", "Su", kToEnglish},
    {Surname, "魏", "Wei", kToEnglish}, {Surname, "丁", "Ding", kToEnglish},
    {Surname, "任", "Ren", kToEnglish}, {Surname, "沈", "Shen", kToEnglish},
    {Surname, "姚", "Yao", kToEnglish}, {Surname, "钟", "Zhong", kToEnglish},
    {Surname, "崔", "Cui", kToEnglish}, {Surname, "谭", "Tan", kToEnglish},
    {Surname, "范", "Fan", kToEnglish}, {Surname, "金", "Jin", kToEnglish},
    {Surname, "方", "Fang", kToEnglish}, {Surname, "夏", "Xia", kToEnglish},
    {Surname, "白", "Bai", kToEnglish}, {Surname, "孟", "Meng", kToEnglish},
    {Surname, "秦", "Qin", kToEnglish}, {Surname, "雷", "Lei", kToEnglish},
    {Surname, "欧阳", "Ouyang", kToEnglish},
    // Kin and home: 我妈妈 → my mother, without 的.
    {Kinship, "妈妈", "mother", kToEnglish}, {Kinship, "爸爸", "father", kToEnglish},
    {Kinship, "父亲", "father", kToEnglish}, {Kinship, "母亲", "mother", kToEnglish},
    {Kinship, "哥哥", "brother", kToEnglish}, {Kinship, "姐姐", "sister", kToEnglish},
    {Kinship, "弟弟", "brother", kToEnglish}, {Kinship, "妹妹", "sister", kToEnglish},
    {Kinship, "家", "home", kToEnglish}, {Kinship, "家人", "family", kToEnglish},
    {Kinship, "朋友", "friend", kToEnglish},
};

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

// Sorted keys into kWords, built once: every word of every clause is looked up.
struct Key {
  std::string text;
  WordClass wordClass;
  std::size_t row;
  int rank;  // an English word's own form before a pronoun's object form
};

const std::vector<Key>& ChineseKeys() {
  static const std::vector<Key> keys = [] {
    std::vector<Key> built;
    for (std::size_t row = 0; row < std::size(kWords); ++row) {
      const ClosedClassWord& word = kWords[row];
      if (!(word.flags & kToChinese)) built.push_back({std::string(word.chinese), word.wordClass, row, 0});
    }
    std::stable_sort(built.begin(), built.end(), [](const Key& a, const Key& b) { return a.text < b.text; });
    return built;
  }();
  return keys;
}

const std::vector<Key>& EnglishKeys() {
  static const std::vector<Key> keys = [] {
    std::vector<Key> built;
    for (std::size_t row = 0; row < std::size(kWords); ++row) {
      const ClosedClassWord& word = kWords[row];
      if (word.flags & kToEnglish) continue;
      built.push_back({Lower(word.english), word.wordClass, row, 0});
      if (!word.object.empty() && word.object != word.english) {
        built.push_back({std::string(word.object), word.wordClass, row, 1});
      }
    }
    std::stable_sort(built.begin(), built.end(),
                     [](const Key& a, const Key& b) { return a.text != b.text ? a.text < b.text : a.rank < b.rank; });
    return built;
  }();
  return keys;
}

template <class Accept>
const ClosedClassWord* Search(const std::vector<Key>& keys, std::string_view text, Accept accept) {
  auto it = std::lower_bound(keys.begin(), keys.end(), text,
                             [](const Key& key, std::string_view t) { return std::string_view(key.text) < t; });
  for (; it != keys.end() && it->text == text; ++it) {
    if (accept(*it)) return &kWords[it->row];
  }
  return nullptr;
}

}  // namespace

std::span<const ClosedClassWord> ClosedClassWords() { return kWords; }

const ClosedClassWord* ChineseClosedWord(std::string_view chinese, WordClass wordClass) {
  return Search(ChineseKeys(), chinese, [&](const Key& key) { return key.wordClass == wordClass; });
}

bool IsChineseClosedWord(std::string_view chinese) {
  return Search(ChineseKeys(), chinese, [](const Key&) { return true; }) != nullptr;
}

const ClosedClassWord* EnglishClosedWord(std::string_view english) {
  return Search(EnglishKeys(), english, [](const Key&) { return true; });
}

const ClosedClassWord* EnglishClosedWord(std::string_view english, bool (*accept)(WordClass)) {
  return Search(EnglishKeys(), english, [&](const Key& key) { return accept(key.wordClass); });
}

const ClosedClassWord* EnglishClosedWord(std::string_view english, WordClass wordClass) {
  return Search(EnglishKeys(), english, [&](const Key& key) { return key.wordClass == wordClass; });
}

}  // namespace parlavo::server
