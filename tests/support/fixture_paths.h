#pragma once

#include <string>

namespace corvane::test {

// The Windows path of a file made by corvane_msi_fixture / corvane_7z_fixture.
std::string FixturePath(const std::string& fileName);
// A Linux path as this Wine prefix sees it (Z: maps the Linux root).
std::string WinePathOf(const std::string& unixPath);

}  // namespace corvane::test
