#include "actions/string_text.h"

#include <gtest/gtest.h>

#include "actions/tests/fake_system_queries.h"

namespace corvane {
namespace {

struct TParseCase {
  std::string source;
  std::string pattern;
  int mode;
  bool ignoreCase;
  TStringParts expected;
};

class ParseStringTest : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ParseStringTest, SplitsIntoTwoParts) {
  const TParseCase& c = GetParam();
  const testing::TFakeSystemQueries caseMapping;
  EXPECT_EQ(ParseString(c.source, c.pattern, c.mode, c.ignoreCase, caseMapping), c.expected)
      << "'" << c.source << "' '" << c.pattern << "' mode " << c.mode;
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ParseStringTest,
    ::testing::Values(
        // Around the first and the last separator.
        TParseCase{"a=b=c", "=", 0, false, {"a", "b=c"}}, TParseCase{"a=b=c", "=", 1, false, {"a=b", "c"}},
        TParseCase{"key::value::x", "::", 0, false, {"key", "value::x"}},
        TParseCase{"key::value::x", "::", 1, false, {"key::value", "x"}},
        // No separator: mode 0 keeps all in the first part, mode 1 in the second.
        TParseCase{"abc", ";", 0, false, {"abc", ""}}, TParseCase{"abc", ";", 1, false, {"", "abc"}},
        TParseCase{"abc", "", 0, false, {"abc", ""}}, TParseCase{"abc", "", 1, false, {"", "abc"}},
        TParseCase{"ab", "abc", 0, false, {"ab", ""}}, TParseCase{"", "=", 0, false, {"", ""}},
        TParseCase{"=x=", "=", 0, false, {"", "x="}}, TParseCase{"=x=", "=", 1, false, {"=x", ""}},
        // The search is case-sensitive unless asked otherwise; the parts keep the source's letters.
        TParseCase{"AXB", "x", 0, false, {"AXB", ""}}, TParseCase{"AXB", "x", 0, true, {"A", "B"}},
        TParseCase{"aXbxC", "X", 1, true, {"aXb", "C"}},
        // Counts from the start and from the end.
        TParseCase{"abcdef", "2", 2, false, {"ab", "cdef"}}, TParseCase{"abcdef", "0", 2, false, {"", "abcdef"}},
        TParseCase{"abcdef", "9", 2, false, {"abcdef", ""}}, TParseCase{"abcdef", "-1", 2, false, {"", "abcdef"}},
        TParseCase{"abcdef", "2", 3, false, {"abcd", "ef"}}, TParseCase{"abcdef", "0", 3, false, {"abcdef", ""}},
        TParseCase{"abcdef", "6", 3, false, {"", "abcdef"}}, TParseCase{"abcdef", "9", 3, false, {"", "abcdef"}},
        // A count that is not a whole number, and modes without a meaning, split nothing.
        TParseCase{"abcdef", "x", 2, false, {"", ""}}, TParseCase{"abcdef", "", 3, false, {"", ""}},
        TParseCase{"abcdef", "99999999999", 2, false, {"", ""}}, TParseCase{"a=b", "=", 4, false, {"", ""}},
        TParseCase{"a=b", "=", -1, false, {"", ""}}));

TEST(TrimBlanksTest, RemovesBlanksAndControlCharactersAtBothEnds) {
  EXPECT_EQ(TrimBlanks(" \t\r\n a b \x01\x1f "), "a b");
  EXPECT_EQ(TrimBlanks(std::string("\0x\0", 3)), "x");
  EXPECT_EQ(TrimBlanks("   "), "");
  EXPECT_EQ(TrimBlanks("\xe9t\xe9"), "\xe9t\xe9");
}

struct TReplaceCase {
  std::string value;
  std::string find;
  std::string replacement;
  bool ignoreCase;
  bool replaceAll;
  std::string expected;
};

class ReplaceStringTest : public ::testing::TestWithParam<TReplaceCase> {};

TEST_P(ReplaceStringTest, ReplacesOccurrences) {
  const TReplaceCase& c = GetParam();
  const testing::TFakeSystemQueries caseMapping;
  EXPECT_EQ(ReplaceString(c.value, c.find, c.replacement, c.ignoreCase, c.replaceAll, caseMapping), c.expected)
      << "'" << c.value << "' '" << c.find << "' -> '" << c.replacement << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Options, ReplaceStringTest,
    ::testing::Values(TReplaceCase{"aAa", "a", "b", false, false, "bAa"},
                      TReplaceCase{"aAa", "a", "b", false, true, "bAb"},
                      TReplaceCase{"aAa", "a", "b", true, false, "bAa"},
                      TReplaceCase{"aAa", "a", "b", true, true, "bbb"},
                      TReplaceCase{"xAbCx", "abc", "-", true, false, "x-x"},
                      // Left to right without overlaps, the inserted text not searched again.
                      TReplaceCase{"aaaa", "aa", "b", false, true, "bb"},
                      TReplaceCase{"aaa", "aa", "b", false, true, "ba"},
                      TReplaceCase{"ab", "a", "aa", false, true, "aab"},
                      TReplaceCase{"C:\\old\\old", "old", "", false, true, "C:\\\\"},
                      // Nothing to do: the value stays as it was.
                      TReplaceCase{"abc", "x", "y", false, true, "abc"},
                      TReplaceCase{"", "a", "b", false, true, ""},
                      TReplaceCase{"abc", "", "b", false, true, "abc"},
                      TReplaceCase{"ab", "abc", "x", false, true, "ab"}));

}  // namespace
}  // namespace corvane
