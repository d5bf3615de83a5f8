// kel.dll as the engine's archive library; the engine imports it by name at
// load time, so it does not start without it.
#pragma once

#include <string>

#include "media/archive_library.h"
#include "media/kel/kel_api.h"

namespace corvane {

class TKelArchiveLibrary final : public TArchiveLibrary {
public:
  std::optional<std::vector<TArchiveListEntry>> List(const std::string& archivePath, const std::string& password,
                                                     TArchiveCallbacks& callbacks) override;
  bool Extract(const std::string& archivePath, const std::string& destination,
               const std::vector<std::string>& selection, uint32_t folders, const std::string& password,
               TArchiveCallbacks& callbacks) override;
  uint32_t LastError() override;
};

// An item's date as listings show it: the UTC time in local time, at the
// two-second precision of a DOS date, as the user's short date and long
// time. Empty when it has no DOS form (before 1980, after 2107, or none).
std::string FormatArchiveDate(const TKelFileTime& time);

}  // namespace corvane
