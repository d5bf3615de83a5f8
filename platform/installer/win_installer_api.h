// Windows Installer itself: msi.dll from the system folder, each function
// bound on its first call. One per process: the installer keeps a single
// external message handler for the whole process.
#pragma once

#include <memory>
#include <string>

#include "installer/installer_api.h"
#include "platform/installer/late_bound_library.h"

namespace corvane {

class TWinInstallerApi : public TInstallerApi {
public:
  TWinInstallerApi();
  ~TWinInstallerApi() override;

  int QueryProductState(const std::string& productCode) override;
  TInstallerReply<std::string> GetProductInfo(const std::string& productCode, const std::string& property) override;

  unsigned EnableLog(std::uint32_t logMode, const std::string& logFile, std::uint32_t attributes) override;
  int SetInternalUI(int uiLevel) override;
  void SetExternalUI(TInstallerUiHandler handler, std::uint32_t messageFilter) override;
  unsigned InstallProduct(const std::string& package, const std::string& commandLine) override;
  unsigned ApplyPatch(const std::string& patch, const std::string& commandLine) override;
  unsigned SourceListAddSource(const std::string& productCode, const std::string& userName,
                               const std::string& source) override;
  TInstallerReply<TInstallerHandle> OpenPackage(const std::string& package) override;
  unsigned SetProperty(TInstallerHandleValue install, const std::string& name, const std::string& value) override;
  unsigned DoAction(TInstallerHandleValue install, const std::string& action) override;
  bool GetMode(TInstallerHandleValue install, TRunMode mode) override;
  unsigned CloseHandle(TInstallerHandleValue handle) override;

  TInstallerReply<TInstallerHandle> OpenDatabase(const std::string& path, TDatabaseOpenMode mode) override;
  TInstallerReply<TInstallerHandle> DatabaseOpenView(TInstallerHandleValue database,
                                                     const std::string& query) override;
  unsigned ViewExecute(TInstallerHandleValue view) override;
  unsigned ViewExecuteWithParameters(TInstallerHandleValue view, TInstallerHandleValue parameters) override;
  TInstallerReply<TInstallerHandle> ViewFetch(TInstallerHandleValue view) override;
  TInstallerHandle CreateRecord(unsigned fieldCount) override;
  unsigned RecordSetString(TInstallerHandleValue record, unsigned field, const std::string& value) override;
  unsigned ViewModify(TInstallerHandleValue view, TViewModifyMode mode, TInstallerHandleValue record) override;
  unsigned ViewClose(TInstallerHandleValue view) override;
  unsigned DatabaseCommit(TInstallerHandleValue database) override;
  TInstallerReply<TInstallerHandle> GetSummaryInformation(TInstallerHandleValue database,
                                                          unsigned updateCount) override;
  unsigned SummaryInfoSetString(TInstallerHandleValue summary, unsigned property, const std::string& value) override;
  unsigned SummaryInfoPersist(TInstallerHandleValue summary) override;

  // The binding itself, for functions the engine does not call.
  TLateBoundLibrary& Library() { return library_; }

private:
  TLateBoundLibrary library_;
  // Where the registered handler lives while the installer may call it.
  std::unique_ptr<TInstallerUiHandler> uiHandler_;
};

}  // namespace corvane
