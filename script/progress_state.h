// The text, range and position that long-running work publishes and the
// displayed dialog shows; one lock keeps the four values together.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace corvane {

// Given as the text, leaves the progress state as it is.
inline constexpr std::string_view kKeepProgress = "$ZOLT$";

struct TProgressValues {
  std::string text;
  std::int64_t minimum = 0;
  std::int64_t maximum = 0;
  std::int64_t position = 0;

  bool operator==(const TProgressValues&) const = default;
};

class TProgressState {
public:
  // A position of -1 changes the text only.
  void Set(std::string_view text, std::int64_t minimum, std::int64_t maximum, std::int64_t position);
  TProgressValues Snapshot() const;

private:
  mutable std::mutex mutex_;
  TProgressValues values_;
};

}  // namespace corvane
