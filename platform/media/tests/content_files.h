// Reading back what the media tests extracted, and the files it came from.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/fixture_paths.h"

namespace corvane::test {

inline std::string ReadFileText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A file of the archived test content (KEL_TEST_CONTENT), by its item path.
inline std::string ContentText(const std::string& item) {
  return ReadFileText(std::filesystem::path(WinePathOf(KEL_TEST_CONTENT)) / item);
}

}  // namespace corvane::test
