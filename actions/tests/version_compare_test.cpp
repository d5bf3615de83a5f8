#include "actions/version_compare.h"

#include <gtest/gtest.h>

#include "script/script_error.h"

namespace corvane {
namespace {

TEST(VersionTextTest, FileWithoutVersionReadsAsZeros) {
  EXPECT_EQ(VersionText(std::nullopt), "0.0.0.0");
  EXPECT_EQ(VersionText(TFileVersion{1, 2, 3, 65535}), "1.2.3.65535");
  EXPECT_EQ(VersionNumbers(std::nullopt), (TVersionNumbers{0, 0, 0, 0}));
  EXPECT_EQ(VersionNumbers(TFileVersion{6, 1, 7601, 17514}), (TVersionNumbers{6, 1, 7601, 17514}));
}

struct TParseCase {
  std::string text;
  TVersionNumbers expected;
};

class ParseVersionTextTest : public ::testing::TestWithParam<TParseCase> {};

TEST_P(ParseVersionTextTest, ReadsFourNumbers) {
  EXPECT_EQ(ParseVersionText(GetParam().text), GetParam().expected) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ParseVersionTextTest,
    ::testing::Values(TParseCase{"1.2.3.4", {1, 2, 3, 4}}, TParseCase{"1.2", {1, 2, 0, 0}},
                      TParseCase{"7", {7, 0, 0, 0}}, TParseCase{"", {0, 0, 0, 0}}, TParseCase{"1.", {1, 0, 0, 0}},
                      TParseCase{"1.2.x", {1, 2, 0, 0}}, TParseCase{"1.2.3.4.5", {1, 2, 3, 4}},
                      TParseCase{"1.2.3.4.x", {1, 2, 3, 4}}, TParseCase{"-1.0", {4294967295u, 0, 0, 0}}));

TEST(ParseVersionTextTest, PartBeforeADotMustBeANumber) {
  for (const char* text : {"1..2", "x.1", ".1", "1.2.3.x.5", "99999999999.1"}) {
    EXPECT_THROW(ParseVersionText(text), TScriptError) << text;
  }
  try {
    ParseVersionText("1..2");
    FAIL();
  } catch (const TScriptError& error) {
    EXPECT_STREQ(error.what(), "'' is not a valid integer value");
  }
}

struct TCompareCase {
  TVersionNumbers version;
  TVersionNumbers reference;
  bool newer;
};

class IsNewerVersionTest : public ::testing::TestWithParam<TCompareCase> {};

TEST_P(IsNewerVersionTest, ComparesPartsInOrder) {
  EXPECT_EQ(IsNewerVersion(GetParam().version, GetParam().reference), GetParam().newer);
}

INSTANTIATE_TEST_SUITE_P(
    Versions, IsNewerVersionTest,
    ::testing::Values(TCompareCase{{1, 2, 3, 4}, {1, 2, 3, 4}, false}, TCompareCase{{1, 2, 3, 4}, {1, 2, 3, 0}, true},
                      TCompareCase{{1, 2, 3, 4}, {1, 2, 3, 5}, false}, TCompareCase{{2, 0, 0, 0}, {1, 9, 9, 9}, true},
                      TCompareCase{{1, 9, 9, 9}, {2, 0, 0, 0}, false}, TCompareCase{{0, 0, 0, 0}, {0, 0, 0, 0}, false},
                      // Unsigned: a reference part of -1 is above every file's part.
                      TCompareCase{{65535, 0, 0, 0}, {4294967295u, 0, 0, 0}, false},
                      TCompareCase{{1, 10, 0, 0}, {1, 9, 0, 0}, true}));

}  // namespace
}  // namespace corvane
