#include "script/text_rules.h"

#include <gtest/gtest.h>

#include "script/script_error.h"

namespace corvane {
namespace {

TEST(TextRules, IsTrue) {
  for (const char* text : {"TRUE", "true", "tRuE", "-1"}) EXPECT_TRUE(IsTrue(text)) << text;
  for (const char* text : {"", "YES", "1", " TRUE", "TRUE ", "-1 ", "--1", "FALSE"}) EXPECT_FALSE(IsTrue(text)) << text;
  EXPECT_EQ(BooleanText(true), "TRUE");
  EXPECT_EQ(BooleanText(false), "FALSE");
}

TEST(TextRules, ReferenceNameAndNamedVariable) {
  struct Case {
    const char* text;
    const char* reference;
    const char* named;
  } cases[] = {
      {"$TITLE$", "TITLE", "TITLE"}, {"TITLE", "", "TITLE"},     {"$A$B$", "", "$A$B$"}, {"$A", "", "$A"},
      {"A$", "", "A$"},              {"$$", "", "$$"},           {"$", "", "$"},         {"", "", ""},
      {"$a b$", "a b", "a b"},       {"x$A$", "", "x$A$"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ReferenceName(c.text), c.reference) << c.text;
    EXPECT_EQ(NamedVariable(c.text), c.named) << c.text;
  }
}

TEST(TextRules, NewlineEncodeAndDecode) {
  EXPECT_EQ(NewlineEncode("a\r\nb\r\n\nc\r"), "a$NEWLINE$b$NEWLINE$\nc\r");
  EXPECT_EQ(NewlineDecode("a$NEWLINE$b$newline$$NewLine$c$NEWLINE"), "a\r\nb\r\n\r\nc$NEWLINE");
  EXPECT_EQ(NewlineDecode(NewlineEncode("one\r\ntwo\r\n")), "one\r\ntwo\r\n");
}

TEST(TextRules, CollapseDoubledBackslashes) {
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"C:\\Program Files\\\\App", "C:\\Program Files\\App"},
      {"\\\\server\\\\share", "\\\\server\\share"},
      {"\\\\\\\\server", "\\\\\\server"},  // four collapse to two, plus the one put back
      {"a\\\\\\b", "a\\\\b"},
      {"a\\\\\\\\b", "a\\\\b"},
      {"\\", "\\"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CollapseDoubledBackslashes(c.text), c.expected) << c.text;
}

TEST(TextRules, ReadIntegerAcceptsOnlyDecimalIntegers) {
  EXPECT_EQ(ReadInteger("42"), 42);
  EXPECT_EQ(ReadInteger("-7"), -7);
  EXPECT_EQ(ReadInteger("+7"), 7);
  EXPECT_EQ(ReadInteger64("9000000000"), 9000000000);
  EXPECT_EQ(ReadInteger64("-1"), -1);
  for (const char* text : {"", "abc", "1.5", " 1", "1 ", "0x10", "+-1", "-", "2147483648"}) {
    EXPECT_THROW(ReadInteger(text), TScriptError) << text;
  }
  for (const char* text : {"", "x", "+-1", "99999999999999999999"}) EXPECT_THROW(ReadInteger64(text), TScriptError) << text;
  try {
    ReadInteger("ten");
    FAIL();
  } catch (const TScriptError& error) {
    EXPECT_STREQ(error.what(), "'ten' is not a valid integer value");
  }
}

}  // namespace
}  // namespace corvane
