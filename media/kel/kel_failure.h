// A failure of a library call, carrying the code GetLastArchiveError reports.
#pragma once

#include <cstdint>
#include <exception>

namespace corvane::kel {

class TKelFailure : public std::exception {
public:
  explicit TKelFailure(uint32_t code) : code_(code) {}
  uint32_t Code() const { return code_; }
  const char* what() const noexcept override { return "archive library failure"; }

private:
  uint32_t code_;
};

// The code of this thread's latest call; per thread like GetLastError, so a
// worker's extraction and a listing on another thread do not mix them up.
uint32_t& ThreadLastArchiveError();

}  // namespace corvane::kel
