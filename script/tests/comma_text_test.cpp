#include "script/comma_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace corvane {
namespace {

using Items = std::vector<std::string>;

TEST(CommaText, ExportQuotesOnlyWhatNeedsIt) {
  struct Case {
    std::vector<TVariable> variables;
    std::string expected;
  } cases[] = {
      {{}, ""},
      {{{"TITLE", "App"}}, "TITLE,App"},
      {{{"A", ""}, {"B", "x"}}, "A,,B,x"},
      {{{"A", "a b"}}, "A,\"a b\""},
      {{{"A", "say \"hi\""}}, "A,\"say \"\"hi\"\"\""},
      {{{"A", "1,2"}}, "A,\"1,2\""},
      {{{"A", "l1\r\nl2"}}, "A,\"l1\r\nl2\""},
      {{{"A", std::string("n\0l", 3)}}, "A,\"" + std::string("n\0l", 3) + "\""},
      {{{"A", "\x7f\xe9$%;'"}}, "A,\x7f\xe9$%;'"},
      {{{"", ""}}, ","},
  };
  for (const Case& c : cases) EXPECT_EQ(ExportCommaText(c.variables), c.expected) << c.expected;
}

TEST(CommaText, SplitReadsQuotedPlainAndEmptyItems) {
  struct Case {
    std::string text;
    Items expected;
  } cases[] = {
      {"", {}},
      {"   ", {}},
      {"a,b", {"a", "b"}},
      {"  a ,\t b  ", {"a", "b"}},
      {"a b", {"a", "b"}},  // a blank ends an unquoted item
      {"a,", {"a", ""}},    // a comma that ends the text adds an empty item
      {"a, ", {"a"}},       // ...only when it is the very end
      {",a", {"", "a"}},
      {"a,,b", {"a", "", "b"}},
      {",", {"", ""}},
      {"\"a b\",c", {"a b", "c"}},
      {"\"say \"\"hi\"\"\"", {"say \"hi\""}},
      {"\"\"", {""}},
      {"\"ab\"cd,e", {"ab", "cd", "e"}},  // a quoted item ends at its closing quote
      {"\"unclosed, still", {"unclosed, still"}},
      {"\"a\"\"", {"a\""}},
      {"a\"b", {"a\"b"}},  // a quote inside a plain item is plain
      {std::string("a\0b,c", 5), {std::string("a\0b", 3), "c"}},
  };
  for (const Case& c : cases) EXPECT_EQ(SplitCommaText(c.text), c.expected) << c.text;
}

TEST(CommaText, OddItemCountGivesTheLastNameAnEmptyValue) {
  EXPECT_EQ(VariablesFromCommaText("A,1,B"), (std::vector<TVariable>{{"A", "1"}, {"B", ""}}));
}

TEST(CommaText, AwkwardValuesSurviveARoundTrip) {
  const std::vector<TVariable> variables = {
      {"TARGETDIR", "C:\\Program Files\\Acme, Inc"},
      {"QUOTE", "\"quoted\" and \"\""},
      {"SPACES", "  lead and trail  "},
      {"LINES", "one\r\ntwo\r\n"},
      {"EMPTY", ""},
      {"", "nameless"},
      {"COMMA", ","},
      {"TAB", "\t"},
      {"NUL", std::string(1, '\0')},
      {"HIGH", "\xff\x80 \xa0"},
  };
  EXPECT_EQ(VariablesFromCommaText(ExportCommaText(variables)), variables);
}

}  // namespace
}  // namespace corvane
