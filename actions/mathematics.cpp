#include "actions/mathematics.h"

#include <optional>
#include <variant>

#include "launcher/script_container.h"

namespace corvane {
namespace {

constexpr std::int32_t kStateModulus = 32767;
constexpr std::int64_t kShiftWidth = 64;

enum TOperation : int {
  kAdd = 0,
  kSubtract,
  kMultiply,
  kDivide,
  kRemainder,
  kAnd,
  kOr,
  kXor,
  kShiftLeft,
  kShiftRight,
  kComplement,
  kCharacterCode,
  kCharacter,
  kSetCoefficients,
  kSetState,
  kRandom,
};

// A computed number, or the one-character text of code 12.
using TResult = std::variant<std::int64_t, char>;

std::int32_t Low32(std::int64_t value) { return static_cast<std::int32_t>(static_cast<std::uint32_t>(value)); }

bool ReadsB(int code) { return (code >= kAdd && code <= kShiftRight) || code == kSetCoefficients; }

std::optional<std::int64_t> Shifted(std::int64_t a, std::int64_t count, bool left) {
  if (count < 0) {
    return std::nullopt;
  }
  if (count >= kShiftWidth) {
    return 0;
  }
  const auto bits = static_cast<std::uint64_t>(a);
  return static_cast<std::int64_t>(left ? bits << count : bits >> count);
}

std::optional<TResult> Compute(int code, std::int64_t a, std::int64_t b, TMathGenerator& generator) {
  switch (code) {
    case kAdd:
      return a + b;
    case kSubtract:
      return a - b;
    case kMultiply:
      return a * b;
    case kDivide:
      return b == 0 ? std::nullopt : std::optional<TResult>(a / b);
    case kRemainder:
      return b == 0 ? std::nullopt : std::optional<TResult>(a % b);
    case kAnd:
      return a & b;
    case kOr:
      return a | b;
    case kXor:
      return a ^ b;
    case kShiftLeft:
      return Shifted(a, b, true);
    case kShiftRight:
      return Shifted(a, b, false);
    case kComplement:
      return ~a;
    case kCharacter:
      return static_cast<char>(a & 0xFF);
    case kSetCoefficients:
      generator.SetCoefficients(Low32(a), Low32(b));
      return a + b;
    case kSetState:
      generator.SetState(Low32(a));
      return a;
    case kRandom: {
      const std::int64_t value = generator.Next();
      return a == 0 ? std::nullopt : std::optional<TResult>(value % a);
    }
    default:
      return std::nullopt;
  }
}

std::optional<TResult> Evaluate(std::string_view aText, std::string_view bText, int code,
                                TMathGenerator& generator) {
  if (code == kCharacterCode) {
    if (aText.empty()) {
      return std::nullopt;
    }
    return std::int64_t{static_cast<unsigned char>(aText.front())};
  }
  const std::optional<int> a = ParseDecimalInteger(aText);
  const std::optional<int> b = ReadsB(code) ? ParseDecimalInteger(bText) : std::optional<int>(0);
  if (!a || !b) {
    return std::nullopt;
  }
  return Compute(code, *a, *b, generator);
}

std::string ResultText(const TResult& result) {
  if (const char* character = std::get_if<char>(&result)) {
    return std::string(1, *character);
  }
  return std::to_string(std::get<std::int64_t>(result));
}

}  // namespace

void TMathGenerator::SetCoefficients(std::int32_t multiplier, std::int32_t increment) {
  multiplier_ = multiplier;
  increment_ = increment;
}

void TMathGenerator::SetState(std::int32_t state) { state_ = state; }

std::int32_t TMathGenerator::Next() {
  const std::uint32_t wrapped = static_cast<std::uint32_t>(multiplier_) * static_cast<std::uint32_t>(state_) +
                                static_cast<std::uint32_t>(increment_);
  const auto value = static_cast<std::int32_t>(wrapped);
  state_ = value % kStateModulus;
  return value;
}

std::string Calculate(std::string_view a, std::string_view b, std::string_view code, TMathGenerator& generator) {
  const std::optional<int> operation = ParseDecimalInteger(code);
  if (!operation) {
    return {};
  }
  const std::optional<TResult> result = Evaluate(a, b, *operation, generator);
  return result ? ResultText(*result) : std::string();
}

}  // namespace corvane
