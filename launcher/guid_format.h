// GUIDs as scripts and installer tables write them.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace corvane {

// "{00112233-4455-6677-8899-AABBCCDDEEFF}" for the bytes 00 11 ... FF in
// that order: braced, upper case.
std::string BracedGuidText(const std::array<std::uint8_t, 16>& bytes);

}  // namespace corvane
