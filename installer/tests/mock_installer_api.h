// A stand-in for Windows Installer, for the engine's logic tests.
#pragma once

#include <gmock/gmock.h>

#include "installer/installer_api.h"

namespace corvane::test {

class TMockInstallerApi : public TInstallerApi {
public:
  MOCK_METHOD(int, QueryProductState, (const std::string&), (override));
  MOCK_METHOD(TInstallerReply<std::string>, GetProductInfo, (const std::string&, const std::string&), (override));
  MOCK_METHOD(unsigned, EnableLog, (std::uint32_t, const std::string&, std::uint32_t), (override));
  MOCK_METHOD(int, SetInternalUI, (int), (override));
  MOCK_METHOD(void, SetExternalUI, (TInstallerUiHandler, std::uint32_t), (override));
  MOCK_METHOD(unsigned, InstallProduct, (const std::string&, const std::string&), (override));
  MOCK_METHOD(unsigned, ApplyPatch, (const std::string&, const std::string&), (override));
  MOCK_METHOD(unsigned, SourceListAddSource, (const std::string&, const std::string&, const std::string&),
              (override));
  MOCK_METHOD(TInstallerReply<TInstallerHandle>, OpenPackage, (const std::string&), (override));
  MOCK_METHOD(unsigned, SetProperty, (TInstallerHandleValue, const std::string&, const std::string&), (override));
  MOCK_METHOD(unsigned, DoAction, (TInstallerHandleValue, const std::string&), (override));
  MOCK_METHOD(bool, GetMode, (TInstallerHandleValue, TRunMode), (override));
  MOCK_METHOD(unsigned, CloseHandle, (TInstallerHandleValue), (override));
  MOCK_METHOD(TInstallerReply<TInstallerHandle>, OpenDatabase, (const std::string&, TDatabaseOpenMode), (override));
  MOCK_METHOD(TInstallerReply<TInstallerHandle>, DatabaseOpenView, (TInstallerHandleValue, const std::string&),
              (override));
  MOCK_METHOD(unsigned, ViewExecute, (TInstallerHandleValue), (override));
  MOCK_METHOD(unsigned, ViewExecuteWithParameters, (TInstallerHandleValue, TInstallerHandleValue), (override));
  MOCK_METHOD(TInstallerReply<TInstallerHandle>, ViewFetch, (TInstallerHandleValue), (override));
  MOCK_METHOD(TInstallerHandle, CreateRecord, (unsigned), (override));
  MOCK_METHOD(unsigned, RecordSetString, (TInstallerHandleValue, unsigned, const std::string&), (override));
  MOCK_METHOD(unsigned, ViewModify, (TInstallerHandleValue, TViewModifyMode, TInstallerHandleValue), (override));
  MOCK_METHOD(unsigned, ViewClose, (TInstallerHandleValue), (override));
  MOCK_METHOD(unsigned, DatabaseCommit, (TInstallerHandleValue), (override));
  MOCK_METHOD(TInstallerReply<TInstallerHandle>, GetSummaryInformation, (TInstallerHandleValue, unsigned),
              (override));
  MOCK_METHOD(unsigned, SummaryInfoSetString, (TInstallerHandleValue, unsigned, const std::string&), (override));
  MOCK_METHOD(unsigned, SummaryInfoPersist, (TInstallerHandleValue), (override));
};

}  // namespace corvane::test
