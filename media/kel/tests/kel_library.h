// kel.dll bound by name at run time, the way any caller of its exports sees it.
#pragma once

#include <windows.h>

#include <string>

#include "media/kel/kel_api.h"

namespace corvane::kel::test {

class TKelLibrary {
public:
  // Loads the library at the path; fails the test when it or an export is missing.
  explicit TKelLibrary(const std::string& path);
  ~TKelLibrary();
  TKelLibrary(const TKelLibrary&) = delete;
  TKelLibrary& operator=(const TKelLibrary&) = delete;

  decltype(&::OpenListArchive) openListArchive = nullptr;
  decltype(&::CloseListArchive) closeListArchive = nullptr;
  decltype(&::ExtractArchive) extractArchive = nullptr;
  decltype(&::GetLastArchiveError) getLastArchiveError = nullptr;

private:
  HMODULE module_;
};

// The folder of the running test program, with a trailing backslash.
std::string ProgramFolder();

}  // namespace corvane::kel::test
