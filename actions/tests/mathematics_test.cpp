#include "actions/mathematics.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

struct TMathCase {
  std::string a;
  std::string b;
  std::string code;
  std::string expected;
};

class CalculateTest : public ::testing::TestWithParam<TMathCase> {};

TEST_P(CalculateTest, GivesResultText) {
  const TMathCase& c = GetParam();
  TMathGenerator generator;
  EXPECT_EQ(Calculate(c.a, c.b, c.code, generator), c.expected) << c.a << " [" << c.code << "] " << c.b;
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, CalculateTest,
    ::testing::Values(TMathCase{"2", "3", "0", "5"}, TMathCase{"-2", "3", "1", "-5"},
                      TMathCase{"+4", "-3", "2", "-12"},
                      // 64-bit results of 32-bit operands do not wrap.
                      TMathCase{"2147483647", "1", "0", "2147483648"},
                      TMathCase{"-2147483648", "1", "1", "-2147483649"},
                      TMathCase{"2147483647", "2147483647", "2", "4611686014132420609"},
                      TMathCase{"-2147483648", "-2147483648", "2", "4611686018427387904"},
                      TMathCase{"-2147483648", "-1", "3", "2147483648"},
                      // Division truncates toward zero, the remainder has the sign of A.
                      TMathCase{"7", "-2", "3", "-3"}, TMathCase{"-7", "2", "3", "-3"},
                      TMathCase{"-7", "2", "4", "-1"}, TMathCase{"7", "-2", "4", "1"}));

INSTANTIATE_TEST_SUITE_P(
    Bits, CalculateTest,
    ::testing::Values(TMathCase{"12", "10", "5", "8"}, TMathCase{"12", "10", "6", "14"},
                      TMathCase{"12", "10", "7", "6"}, TMathCase{"-1", "255", "5", "255"},
                      TMathCase{"0", "", "10", "-1"}, TMathCase{"5", "x", "10", "-6"},
                      TMathCase{"1", "62", "8", "4611686018427387904"},
                      TMathCase{"1", "63", "8", "-9223372036854775808"}, TMathCase{"1", "64", "8", "0"},
                      TMathCase{"-1", "127", "8", "0"}, TMathCase{"-1", "1", "9", "9223372036854775807"},
                      TMathCase{"-1", "63", "9", "1"}, TMathCase{"-8", "1", "9", "9223372036854775804"},
                      TMathCase{"-1", "64", "9", "0"}, TMathCase{"-1", "0", "9", "-1"}));

INSTANTIATE_TEST_SUITE_P(
    Characters, CalculateTest,
    ::testing::Values(TMathCase{"A", "", "11", "65"}, TMathCase{"Bcd", "", "11", "66"},
                      TMathCase{"\xe9", "", "11", "233"}, TMathCase{"66", "", "12", "B"},
                      TMathCase{"322", "", "12", "B"}, TMathCase{"-191", "", "12", "A"}));

INSTANTIATE_TEST_SUITE_P(
    Failures, CalculateTest,
    ::testing::Values(TMathCase{"5", "0", "3", ""}, TMathCase{"5", "0", "4", ""}, TMathCase{"", "", "11", ""},
                      TMathCase{"x", "1", "0", ""}, TMathCase{"1", "x", "0", ""}, TMathCase{"1", "", "13", ""},
                      TMathCase{"2147483648", "1", "0", ""}, TMathCase{"1.5", "1", "0", ""},
                      TMathCase{" 1", "1", "0", ""}, TMathCase{"1", "-1", "8", ""}, TMathCase{"1", "-1", "9", ""},
                      TMathCase{"1", "1", "x", ""}, TMathCase{"1", "1", "", ""}, TMathCase{"1", "1", "16", ""},
                      TMathCase{"1", "1", "-1", ""}, TMathCase{"0", "", "15", ""}));

TEST(MathGeneratorTest, YieldsZeroUntilSeeded) {
  TMathGenerator generator;
  EXPECT_EQ(Calculate("10", "", "15", generator), "0");
  EXPECT_EQ(Calculate("10", "", "15", generator), "0");
}

TEST(MathGeneratorTest, FollowsItsSequenceAcrossCalls) {
  TMathGenerator generator;
  EXPECT_EQ(Calculate("5", "3", "13", generator), "8");
  EXPECT_EQ(Calculate("7", "", "14", generator), "7");
  EXPECT_EQ(Calculate("10", "", "15", generator), "8");  // V = 38
  EXPECT_EQ(Calculate("10", "", "15", generator), "3");  // V = 193
  EXPECT_EQ(Calculate("1000", "", "15", generator), "968");  // V = 968
  // A failing draw still moves the state on: V = 4843, then 5 * 4843 + 3.
  EXPECT_EQ(Calculate("0", "", "15", generator), "");
  EXPECT_EQ(Calculate("100000", "", "15", generator), "24218");
}

TEST(MathGeneratorTest, WrapsAroundIn32BitsAndKeepsTheSignOfV) {
  TMathGenerator generator;
  generator.SetCoefficients(1103515245, 12345);
  generator.SetState(32766);
  EXPECT_EQ(generator.Next(), -1549135009);  // the state becomes -9550
  EXPECT_EQ(generator.Next(), 1279166979);
  generator.SetState(32766);
  EXPECT_EQ(Calculate("1000", "", "15", generator), "-9");
  EXPECT_EQ(Calculate("-1000", "", "15", generator), "979");
}

TEST(MathGeneratorTest, SeedsWithTheLow32BitsAndGivesTheOperands) {
  TMathGenerator generator;
  EXPECT_EQ(Calculate("-2147483648", "-2147483648", "13", generator), "-4294967296");
  EXPECT_EQ(Calculate("-2147483648", "", "14", generator), "-2147483648");
  // -2^31 * -2^31 - 2^31 wraps to -2^31.
  EXPECT_EQ(generator.Next(), -2147483647 - 1);
}

}  // namespace
}  // namespace corvane
