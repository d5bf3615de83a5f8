#include "launcher/guid_format.h"

namespace corvane {

std::string BracedGuidText(const std::array<std::uint8_t, 16>& bytes) {
  constexpr char kHex[] = "0123456789ABCDEF";
  std::string text = "{";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (i == 4 || i == 6 || i == 8 || i == 10) {
      text += '-';
    }
    text += kHex[bytes[i] >> 4];
    text += kHex[bytes[i] & 0x0F];
  }
  return text + "}";
}

}  // namespace corvane
