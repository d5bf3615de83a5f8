#include "tools/corvane-script/stable_guid.h"

#include "launcher/guid_format.h"

#include <array>
#include <cstdint>
#include <string_view>

namespace corvane::authoring {
namespace {

// FNV-1a, finished with the SplitMix64 mixer so that every input bit reaches
// every output bit.
class THash64 {
public:
  explicit THash64(std::uint64_t seed) : state_(seed) {}

  void Add(std::string_view bytes) {
    for (unsigned char c : bytes) {
      state_ = (state_ ^ c) * 0x100000001B3ULL;
    }
  }

  std::uint64_t Finish() const {
    std::uint64_t z = state_ + 0x9E3779B97F4A7C15ULL;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }

private:
  std::uint64_t state_;
};

}  // namespace

std::string StableGuid(const std::vector<std::string>& parts) {
  THash64 high(0xCBF29CE484222325ULL);
  THash64 low(0x84222325CBF29CE4ULL);
  for (const std::string& part : parts) {
    // The length keeps ("ab", "c") apart from ("a", "bc").
    const std::string length = std::to_string(part.size()) + ":";
    for (THash64* hash : {&high, &low}) {
      hash->Add(length);
      hash->Add(part);
    }
  }
  std::array<std::uint8_t, 16> bytes{};
  const std::uint64_t halves[] = {high.Finish(), low.Finish()};
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = static_cast<std::uint8_t>(halves[i / 8] >> (8 * (7 - i % 8)));
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x80);
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);

  return BracedGuidText(bytes);
}

}  // namespace corvane::authoring
