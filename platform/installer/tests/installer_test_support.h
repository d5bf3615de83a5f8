// What the installer binding's tests share: their package, scratch copies of
// it, and readers for what the engine only writes.
#pragma once

#include <string>

#include "installer/installer_api.h"
#include "platform/installer/win_installer_api.h"

namespace corvane::test {

inline constexpr const char* kBindingProductCode = "{09642964-559C-43E7-8817-4B4E7C84AFCA}";

// A copy of a test package in the temporary folder, deleted afterwards,
// so no test changes the built fixture.
class TPackageCopy {
public:
  explicit TPackageCopy(const std::string& name, const std::string& fixture = "installer_binding.msi");
  ~TPackageCopy();
  TPackageCopy(const TPackageCopy&) = delete;
  TPackageCopy& operator=(const TPackageCopy&) = delete;

  const std::string& Path() const { return path_; }

private:
  std::string path_;
};

std::string TemporaryFolder();

// Field 1 of a record, through the same binding as the engine's calls.
std::string RecordString(TWinInstallerApi& api, TInstallerHandleValue record, unsigned field);
// The value of a Property row, read from a database opened read-only.
std::string PropertyValue(TWinInstallerApi& api, const std::string& package, const std::string& property);
std::string SummaryString(TWinInstallerApi& api, const std::string& package, unsigned property);
// Sets the package code the way package preparation does.
void SetRevisionNumber(TWinInstallerApi& api, const std::string& package, const std::string& code);

}  // namespace corvane::test
