#include "dictionary/closed_class_rows.h"

namespace parlavo::server {

namespace {

using enum WordClass;

// Words of the noun phrase.
constexpr ClosedClassWord kRows[] = {
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
};

}  // namespace

std::span<const ClosedClassWord> NounPhraseRows() { return kRows; }

}  // namespace parlavo::server
