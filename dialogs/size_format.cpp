#include "dialogs/size_format.h"

namespace corvane {
namespace {

constexpr std::int64_t kKilobyte = 1024;
constexpr std::int64_t kMegabyte = kKilobyte * 1024;
constexpr std::int64_t kGigabyte = kMegabyte * 1024;

std::string GroupedDigits(std::uint64_t value) {
  std::string digits = std::to_string(value);
  for (std::size_t end = digits.size(); end > 3; end -= 3) digits.insert(end - 3, ",");
  return digits;
}

}  // namespace

std::string FormatSize(std::int64_t bytes, const TMessageTable& messages) {
  int unit = kMessageBytes;
  std::int64_t value = bytes;
  if (bytes >= kGigabyte) {
    unit = kMessageMegabytes;
    value = bytes / kMegabyte;
  } else if (bytes >= kMegabyte) {
    unit = kMessageKilobytes;
    value = bytes / kKilobyte;
  }
  // Negated in unsigned arithmetic, so the most negative value has a magnitude too.
  const std::uint64_t magnitude = value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  return (value < 0 ? "-" : "") + GroupedDigits(magnitude) + " " + messages.Text(unit);
}

}  // namespace corvane
