// "Mathematics": 64-bit signed arithmetic on operands that are 32-bit whole
// numbers, and the engine's pseudo-random generator.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace corvane {

// A linear congruential generator in 32-bit arithmetic that wraps around.
// The engine keeps one for the whole process; it starts at 0 everywhere, so
// it yields 0 until the script seeds it.
class TMathGenerator {
public:
  void SetCoefficients(std::int32_t multiplier, std::int32_t increment);
  void SetState(std::int32_t state);
  // multiplier * state + increment; the state becomes its remainder by 32767.
  std::int32_t Next();

private:
  std::int32_t multiplier_ = 0;
  std::int32_t increment_ = 0;
  std::int32_t state_ = 0;
};

// The result text of operation `code` (0 to 15) on the substituted lines a
// and b: a decimal number, or for code 12 one character. Empty when the
// operation fails: a code or operand that is not a whole number, division
// by zero, code 11 on an empty text, a negative shift count, a code outside
// 0 to 15.
std::string Calculate(std::string_view a, std::string_view b, std::string_view code, TMathGenerator& generator);

}  // namespace corvane
