#include "installer/guid_text.h"

#include "launcher/guid_format.h"

#include <array>
#include <cstdint>
#include <random>

namespace corvane {

std::string NewRandomGuid() {
  std::random_device entropy;
  std::array<std::uint8_t, 16> bytes{};
  for (std::uint8_t& byte : bytes) {
    byte = static_cast<std::uint8_t>(entropy());
  }
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // the standard variant
  return BracedGuidText(bytes);
}

}  // namespace corvane
