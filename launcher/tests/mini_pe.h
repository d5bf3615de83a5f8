// A PE file reduced to what its image end depends on, for tests.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvane::test {

using TBytes = std::vector<std::uint8_t>;

struct TSectionRaw {
  std::uint32_t pointer;
  std::uint32_t size;
};

inline constexpr std::size_t kMiniPeSignatureAt = 0x80;

inline void Put16(TBytes& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void Put32(TBytes& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, static_cast<std::uint16_t>(value));
  Put16(bytes, at + 2, static_cast<std::uint16_t>(value >> 16));
}

// DOS header, signature, file header, an optional header of the given size,
// the section table, and raw data (0xCC) up to the largest section end.
inline TBytes MiniPe(std::uint16_t optionalHeaderSize, const std::vector<TSectionRaw>& sections) {
  const std::size_t table = kMiniPeSignatureAt + 24 + optionalHeaderSize;
  std::size_t size = table + 40 * sections.size();
  for (const TSectionRaw& s : sections) {
    size = std::max<std::size_t>(size, std::size_t{s.pointer} + s.size);
  }
  TBytes bytes(size, 0xCC);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put32(bytes, 0x3C, kMiniPeSignatureAt);
  bytes[kMiniPeSignatureAt] = 'P';
  bytes[kMiniPeSignatureAt + 1] = 'E';
  bytes[kMiniPeSignatureAt + 2] = 0;
  bytes[kMiniPeSignatureAt + 3] = 0;
  Put16(bytes, kMiniPeSignatureAt + 4 + 2, static_cast<std::uint16_t>(sections.size()));
  Put16(bytes, kMiniPeSignatureAt + 4 + 16, optionalHeaderSize);
  for (std::size_t i = 0; i < sections.size(); ++i) {
    Put32(bytes, table + 40 * i + 16, sections[i].size);
    Put32(bytes, table + 40 * i + 20, sections[i].pointer);
  }
  return bytes;
}

}  // namespace corvane::test
