// kel.dll as the engine's archive library, loaded by full path from the
// folder of the running program: never from wherever the loader's search
// order would find one first. Without it, or with an export missing, every
// call fails with an error naming the library.
#pragma once

#include <windows.h>

#include <string>

#include "media/archive_library.h"
#include "media/kel/kel_api.h"

namespace corvane {

class TKelArchiveLibrary final : public TArchiveLibrary {
public:
  TKelArchiveLibrary();
  explicit TKelArchiveLibrary(const std::wstring& path);
  ~TKelArchiveLibrary() override;
  TKelArchiveLibrary(const TKelArchiveLibrary&) = delete;
  TKelArchiveLibrary& operator=(const TKelArchiveLibrary&) = delete;

  std::optional<std::vector<TArchiveListEntry>> List(const std::string& archivePath, const std::string& password,
                                                     TArchiveCallbacks& callbacks) override;
  bool Extract(const std::string& archivePath, const std::string& destination,
               const std::vector<std::string>& selection, uint32_t folders, const std::string& password,
               TArchiveCallbacks& callbacks) override;
  uint32_t LastError() override;

private:
  // Throws the reason when the library is not usable.
  void EnsureUsable() const;

  HMODULE module_ = nullptr;
  decltype(&::OpenListArchive) openListArchive_ = nullptr;
  decltype(&::CloseListArchive) closeListArchive_ = nullptr;
  decltype(&::ExtractArchive) extractArchive_ = nullptr;
  decltype(&::GetLastArchiveError) getLastArchiveError_ = nullptr;
  std::string unusable_;  // why it cannot be used; empty when it can
};

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

// An item's date as listings show it: the UTC time in local time, at the
// two-second precision of a DOS date, as the user's short date and long
// time. Empty when it has no DOS form (before 1980, after 2107, or none).
std::string FormatArchiveDate(const TKelFileTime& time);

}  // namespace corvane
