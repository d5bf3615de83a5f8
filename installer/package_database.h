// A package database opened for direct edits: statements whose values travel
// as record parameters, never inside the SQL text, so a value with quotes or
// line breaks lands exactly as given and cannot rewrite other rows.
#pragma once

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>

#include "installer/installer_api.h"

namespace corvane {

class TPackageDatabase {
public:
  // Nothing when the package cannot be opened.
  static std::optional<TPackageDatabase> OpenDirect(TInstallerApi& api, const std::string& path);

  // Runs one statement, its "?" markers filled by parameters in order. A
  // statement that fails changes nothing and is not an error: an INSERT of an
  // existing row is expected to fail. True when it ran.
  bool Run(const std::string& statement, std::initializer_list<std::string> parameters = {});
  // Gives every row of a single-column SELECT a new value in that column.
  void ReplaceEveryValue(const std::string& selectStatement, const std::function<std::string()>& newValue);
  // Revision number of the summary stream, persisted at once.
  bool SetPackageCode(const std::string& packageCode);
  bool Commit();

private:
  TPackageDatabase(TInstallerApi& api, TInstallerHandle database) : api_(&api), database_(std::move(database)) {}

  TInstallerApi* api_;
  TInstallerHandle database_;
};

}  // namespace corvane
