#pragma once

#include <string>
#include <string_view>
#include <vector>

// English inflection both ways: finding the dictionary form of a word in
// running text, and inflecting a dictionary form for the sentence it goes in.
namespace parlavo::server {

enum class Inflection { None, Plural, ThirdPerson, Past, Participle, Progressive, Comparative };

struct WordForm {
  std::string lemma;
  Inflection inflection;
};

// The forms to look a lower-case English word up by, most likely first: the
// word itself, the dictionary form of a common irregular verb or noun, then
// what a plural, -ed or -ing ending may come from ("cities" -> "city",
// "stopped" -> "stop", "making" -> "make", "colder" -> "cold"), each with what
// the ending says.
std::vector<WordForm> LookupForms(std::string_view lowerWord);

// Inflects the first word of a verb phrase ("take off" -> "took off"); "be"
// and "have" included. ThirdPerson is the present of he/she/it.
std::string InflectVerb(std::string_view phrase, Inflection inflection);

// The plural of the last word of a noun phrase ("cup" -> "cups", "child" -> "children").
std::string Plural(std::string_view phrase);

}  // namespace parlavo::server
