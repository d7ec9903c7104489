#include <gtest/gtest.h>

#include "indexer/senses.h"

namespace parlavo::server {
namespace {

TEST(ClassifySenseTest, ReferencesPointElsewhere) {
  for (const char* sense : {"variant of 個|个[ge4]", "old variant of 和[he2]", "surname Shui", "CL:個|个[ge4]",
                            "used in 嗎啡|吗啡[ma3 fei1]", "see 大夫[dai4 fu5]", "abbr. for 的士[di1 shi4]",
                            "(literary) variant of 和[he2]", "Taiwan pr. [han4]"}) {
    EXPECT_EQ(ClassifySense(sense), SenseKind::Reference) << sense;
  }
}

TEST(ClassifySenseTest, GrammarDescribesAFunction) {
  for (const char* sense : {"(completed action marker)", "(question particle for \"yes-no\" questions)",
                            "modal particle ending sentence", "aspect particle indicating action in progress",
                            "classifier for birds and certain animals", "interjection of surprise"}) {
    EXPECT_EQ(ClassifySense(sense), SenseKind::Grammar) << sense;
  }
}

TEST(ClassifySenseTest, EverythingElseIsAMeaning) {
  for (const char* sense : {"hello; hi", "see you again later", "to use (sth) in the same way", "(bound form) up; upper",
                            "used to be", "Good morning!"}) {
    EXPECT_EQ(ClassifySense(sense), SenseKind::Meaning) << sense;
  }
}

TEST(SenseTextTest, NotesAreStripped) {
  EXPECT_EQ(StripNotes("hello (interj., esp. on telephone)"), "hello");
  EXPECT_EQ(StripNotes("(of sb or sth) to be (located) at"), "to be at");
  EXPECT_EQ(StripNotes("of; ~'s (possessive particle)"), "of; ~'s");
  EXPECT_EQ(StripNotes("(a (nested) note) word ; other"), "word; other");
  EXPECT_EQ(StripNotes("(only a note)"), "");
  EXPECT_TRUE(IsMarkedUsage("(archaic) many"));
  EXPECT_TRUE(IsMarkedUsage("grain; harvest (old)"));
  EXPECT_TRUE(IsMarkedUsage("(Internet slang) thank you"));
  EXPECT_TRUE(IsMarkedUsage("(humble) my family"));
  EXPECT_TRUE(IsMarkedUsage("(bound form) up; upper"));
  EXPECT_FALSE(IsMarkedUsage("(of sb or sth) to be (located) at"));
  EXPECT_FALSE(IsMarkedUsage("coffee (loanword)"));
}

TEST(SenseTextTest, AlternativesLeaveOutChineseAndFragments) {
  EXPECT_EQ(Alternatives("hello; hi"), (std::vector<std::string>{"hello", "hi"}));
  EXPECT_EQ(Alternatives("of; ~'s (possessive particle)"), (std::vector<std::string>{"of"}));
  EXPECT_EQ(Alternatives("having; with; -ful; -ed"), (std::vector<std::string>{"having", "with"}));
  EXPECT_EQ(Alternatives("a taxi; a cab (abbr. for 的士[di1 shi4])"), (std::vector<std::string>{"a taxi", "a cab"}));
  EXPECT_EQ(Alternatives("same as 了[liao3]; finished"), (std::vector<std::string>{"finished"}));
  EXPECT_TRUE(Alternatives("(note only)").empty());
}

CedictEntry Entry(std::vector<std::string> senses) { return {"字", "字", "zi4", std::move(senses)}; }

TEST(ChineseSensesTest, AreTheFirstRenderingOfEachMeaning) {
  EXPECT_EQ(ChineseSenses(Entry({"to love; to be fond of", "affection"})), "to love/affection");
  EXPECT_EQ(ChineseSenses(Entry({"(pronoun) this; these"})), "this");
  EXPECT_EQ(ChineseSenses(Entry({"Good morning!"})), "Good morning") << "the text brings its own punctuation";
  EXPECT_EQ(ChineseSenses(Entry({"Excuse me, may I ask...?"})), "Excuse me");
  EXPECT_EQ(ChineseSenses(Entry({"exit", "to export", "CL:個|个[ge4]", "(archaic) gate", "a", "b", "c", "d", "e"})),
            "exit/to export/a/b/c/d") << "references and marked senses skipped, six at most";
  EXPECT_EQ(ChineseSenses(Entry({"(completed action marker)", "to finish"})), "") << "a grammatical word";
  EXPECT_EQ(ChineseSenses(Entry({"variant of 著|着[zhe5]"})), "");
  EXPECT_EQ(Measure(Entry({"book", "CL:本[ben3],冊|册[ce4]"})), "本");
  EXPECT_EQ(Measure(Entry({"computer", "CL:臺|台[tai2]"})), "台");
  EXPECT_EQ(Measure(Entry({"water"})), "");
}

TEST(EnglishKeyTest, NormalisesARendering) {
  EXPECT_EQ(EnglishKey("Good morning!"), "good morning");
  EXPECT_EQ(EnglishKey("to love"), "love");
  EXPECT_EQ(EnglishKey("a taxi"), "taxi");
  EXPECT_EQ(EnglishKey("the Internet"), "internet");
  EXPECT_EQ(EnglishKey("I'm sorry"), "i'm sorry");
  EXPECT_EQ(EnglishKey("e-mail"), "e-mail");
  EXPECT_EQ(EnglishKey("  how   are you? "), "how are you");
}

TEST(EnglishKeyTest, RefusesWhatRunningTextCannotMatch) {
  EXPECT_EQ(EnglishKey("to help sb"), "");
  EXPECT_EQ(EnglishKey("e.g. apples"), "");
  EXPECT_EQ(EnglishKey("café"), "");
  EXPECT_EQ(EnglishKey("one two three four five six seven"), "");
  EXPECT_EQ(EnglishKey("one two three four five six"), "one two three four five six");
  EXPECT_EQ(EnglishKey("-ful"), "");
  EXPECT_EQ(EnglishKey("!"), "");
}

}  // namespace
}  // namespace parlavo::server
