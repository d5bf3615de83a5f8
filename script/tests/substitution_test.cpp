#include "script/substitution.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "script/comma_text.h"
#include "script/engine_context.h"

namespace corvane {
namespace {

// The defining rule, written as plainly as possible: one search and replace
// per variable per pass, with the same bounds as the engine.
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; }

bool SameIgnoringCase(const std::string& text, std::size_t at, const std::string& find) {
  if (at + find.size() > text.size()) return false;
  for (std::size_t i = 0; i < find.size(); ++i) {
    if (Upper(text[at + i]) != Upper(find[i])) return false;
  }
  return true;
}

bool OracleReplace(std::string& text, const std::string& find, const std::string& replacement, std::size_t maxLength) {
  std::string result;
  std::size_t i = 0;
  while (i < text.size()) {
    if (SameIgnoringCase(text, i, find)) {
      result += replacement;
      i += find.size();
    } else {
      result += text[i++];
    }
  }
  if (result.size() > maxLength && result.size() > text.size()) return false;
  text = result;
  return true;
}

std::string OracleSubstitute(const std::string& text, const std::vector<TVariable>& variables,
                             TSubstitutionBounds bounds = {}) {
  std::string current = text;
  for (int pass = 0; pass < bounds.passes; ++pass) {
    const std::string start = current;
    OracleReplace(current, "$NEWLINE$", "\r\n", bounds.length);
    bool complete = true;
    for (const TVariable& variable : variables) {
      if (!OracleReplace(current, "$" + variable.name + "$", variable.value, bounds.length)) {
        complete = false;
        break;
      }
    }
    if (!complete || current.find('$') == std::string::npos || current == start) break;
  }
  return current;
}

// Stores built by import, so that they may hold what define never makes:
// empty names, names with "$", and names that stand twice.
class Substitution : public ::testing::Test {
protected:
  std::string Substitute(const std::vector<TVariable>& variables, const std::string& text) {
    engine.store.Import(ExportCommaText(variables));
    return engine.store.Substitute(text);
  }
  TEngineContext engine{TStartOptions{}};
};

TEST_F(Substitution, StoreOrderDecidesWhatOnePassResolves) {
  const std::size_t kPasses = static_cast<std::size_t>(TSubstitutionBounds{}.passes);
  struct Case {
    std::vector<TVariable> variables;
    std::string text;
    std::string expected;
  } cases[] = {
      // Adjacent tokens sharing a "$": the variable earlier in store order wins.
      {{{"A", "1"}, {"B", "2"}}, "$A$B$", "1B$"},
      {{{"B", "2"}, {"A", "1"}}, "$A$B$", "$A2"},
      // Text closing up around a replaced value forms a token of a later variable.
      {{{"A", "Q"}, {"Q", "done"}}, "$$A$$", "done"},
      {{{"A", "$"}, {"B", "b"}}, "$A$B$", "b"},
      // A value holding its own token is not searched again in its own step.
      {{{"A", "<$a$>"}}, "$A$", std::string(kPasses, '<') + "$a$" + std::string(kPasses, '>')},
      // A variable named NEWLINE never sees its token: the marker goes first.
      {{{"NEWLINE", "nl"}}, "a$NEWLINE$b", "a\r\nb"},
      {{{"X", "$NEWLINE$"}, {"NEWLINE", "nl"}}, "$X$", "nl"},
      // Names the token scan cannot stand in for.
      {{{"", "empty"}, {"A", "1"}}, "$$A$", "empty" "A$"},
      {{{"A$B", "ab"}, {"A", "1"}}, "$A$B$", "ab"},
      {{{"A", "first"}, {"B", "$A$"}, {"a", "second"}}, "$B$", "second"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Substitute(c.variables, c.text), c.expected) << c.text;
    EXPECT_EQ(OracleSubstitute(c.text, c.variables), c.expected) << c.text;
  }
}

TEST_F(Substitution, GrowthStopsAtTheLengthBound) {
  const std::vector<TVariable> variables = {{"A", "$A$$A$"}};
  const std::string result = Substitute(variables, "$A$");
  EXPECT_LE(result.size(), TSubstitutionBounds{}.length);
  EXPECT_GT(result.size(), TSubstitutionBounds{}.length / 2);
  EXPECT_EQ(result, OracleSubstitute("$A$", variables));
}

std::string RandomText(std::mt19937& random, const std::vector<std::string>& names, std::size_t maxParts) {
  static const std::vector<std::string> kPieces = {"$", "$$", "x", "a", "B", " ", "\r\n", "$NEWLINE$", "$newline$"};
  std::uniform_int_distribution<std::size_t> count(0, maxParts);
  std::string text;
  for (std::size_t parts = count(random); parts > 0; --parts) {
    if (random() % 3 == 0) {
      text += kPieces[random() % kPieces.size()];
    } else {
      std::string name = names[random() % names.size()];
      if (random() % 2) {
        for (char& c : name) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
      }
      text += random() % 4 ? "$" + name + "$" : name;
    }
  }
  return text;
}

// Small bounds, so that growing values reach them often and cheaply.
void CompareWithTheRule(std::mt19937& random, const std::vector<std::string>& names, int rounds) {
  const TSubstitutionBounds bounds{.passes = 6, .length = 200};
  for (int round = 0; round < rounds; ++round) {
    std::vector<TVariable> variables;
    for (std::size_t n = random() % 8; n > 0; --n) {
      variables.push_back({names[random() % names.size()], RandomText(random, names, 4)});
    }
    TNameIndex index;
    index.Rebuild(variables);
    const std::string text = RandomText(random, names, 8);
    ASSERT_EQ(Substitute(text, variables, index, bounds), OracleSubstitute(text, variables, bounds))
        << "text: " << text << "\nstore: " << ExportCommaText(variables);
  }
}

TEST(SubstitutionRule, MatchesTheRuleOnRandomStores) {
  std::mt19937 random(20240531);
  // Token-safe names, colliding in letter case and as parts of each other.
  CompareWithTheRule(random, {"A", "B", "AB", "BA", "X", "NEWLINE", "A B"}, 30000);
  // Names that are empty, hold "$" or repeat.
  CompareWithTheRule(random, {"A", "B", "", "A$", "$B", "A$B", "a"}, 10000);
}

}  // namespace
}  // namespace corvane
