#include "platform/installer/win_installer_api.h"

#include <windows.h>

#include <cstdint>
#include <utility>

namespace corvane {
// Declared here rather than taken from msi.h, so nothing can link to the
// library's import stubs by accident. Not in an anonymous namespace: GCC
// miscompiled calls through such types here.
namespace msi_abi {

using THandle = unsigned long;
using TUiHandler = int(WINAPI*)(void* context, UINT messageType, LPCSTR message);

using TQueryProductState = int(WINAPI*)(LPCSTR product);
using TGetProductInfo = UINT(WINAPI*)(LPCSTR product, LPCSTR property, LPSTR value, DWORD* valueChars);
using TEnableLog = UINT(WINAPI*)(DWORD logMode, LPCSTR logFile, DWORD attributes);
using TSetInternalUI = int(WINAPI*)(int uiLevel, HWND* window);
using TSetExternalUI = TUiHandler(WINAPI*)(TUiHandler handler, DWORD messageFilter, void* context);
using TInstallProduct = UINT(WINAPI*)(LPCSTR package, LPCSTR commandLine);
using TApplyPatch = UINT(WINAPI*)(LPCSTR patch, LPCSTR installPackage, int installType, LPCSTR commandLine);
using TSourceListAddSource = UINT(WINAPI*)(LPCSTR product, LPCSTR userName, DWORD reserved, LPCSTR source);
using TOpenPackage = UINT(WINAPI*)(LPCSTR package, THandle* install);
using TSetProperty = UINT(WINAPI*)(THandle install, LPCSTR name, LPCSTR value);
using TDoAction = UINT(WINAPI*)(THandle install, LPCSTR action);
using TGetMode = BOOL(WINAPI*)(THandle install, int runMode);
using TCloseHandle = UINT(WINAPI*)(THandle handle);
using TOpenDatabase = UINT(WINAPI*)(LPCSTR path, LPCSTR persist, THandle* database);
using TDatabaseOpenView = UINT(WINAPI*)(THandle database, LPCSTR query, THandle* view);
using TViewExecute = UINT(WINAPI*)(THandle view, THandle parameters);
using TViewFetch = UINT(WINAPI*)(THandle view, THandle* record);
using TCreateRecord = THandle(WINAPI*)(UINT fieldCount);
using TRecordSetString = UINT(WINAPI*)(THandle record, UINT field, LPCSTR value);
using TViewModify = UINT(WINAPI*)(THandle view, int mode, THandle record);
using TViewClose = UINT(WINAPI*)(THandle view);
using TDatabaseCommit = UINT(WINAPI*)(THandle database);
using TGetSummaryInformation = UINT(WINAPI*)(THandle database, LPCSTR path, UINT updateCount, THandle* summary);
using TSummaryInfoSetProperty = UINT(WINAPI*)(THandle summary, UINT property, UINT dataType, INT intValue,
                                              FILETIME* timeValue, LPCSTR textValue);
using TSummaryInfoPersist = UINT(WINAPI*)(THandle summary);

constexpr int kInstallTypeDefault = 0;
constexpr UINT kTypeString = 30;  // VT_LPSTR

int WINAPI DispatchUiMessage(void* context, UINT messageType, LPCSTR message) {
  const auto& handler = *static_cast<const TInstallerUiHandler*>(context);
  try {
    return handler(messageType, message ? std::string_view(message) : std::string_view());
  } catch (...) {
    return 0;  // an exception must not unwind through the installer; "not handled"
  }
}

}  // namespace msi_abi

namespace {

// The installer takes NULL, not an empty text, for "none".
LPCSTR TextOrNone(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

TWinInstallerApi::TWinInstallerApi() : library_(std::string(kInstallerLibrary)) {}

TWinInstallerApi::~TWinInstallerApi() {
  if (!uiHandler_) return;
  try {
    SetExternalUI(nullptr, 0);
  } catch (const TInstallerBindError&) {
    // Unreachable in practice: the function was bound when the handler was registered.
  }
}

int TWinInstallerApi::QueryProductState(const std::string& productCode) {
  return library_.Function<msi_abi::TQueryProductState>("MsiQueryProductStateA")(productCode.c_str());
}

TInstallerReply<std::string> TWinInstallerApi::GetProductInfo(const std::string& productCode,
                                                              const std::string& property) {
  auto getInfo = library_.Function<msi_abi::TGetProductInfo>("MsiGetProductInfoA");
  TInstallerReply<std::string> reply;
  DWORD chars = MAX_PATH - 1;  // a 260-character buffer first, grown when the value needs more
  do {
    reply.value.assign(chars + 1, '\0');
    chars = static_cast<DWORD>(reply.value.size());
    reply.result = getInfo(productCode.c_str(), property.c_str(), reply.value.data(), &chars);
  } while (reply.result == ERROR_MORE_DATA);  // chars is now the length it needs
  reply.value.resize(reply.result == ERROR_SUCCESS ? chars : 0);
  return reply;
}

unsigned TWinInstallerApi::EnableLog(std::uint32_t logMode, const std::string& logFile, std::uint32_t attributes) {
  return library_.Function<msi_abi::TEnableLog>("MsiEnableLogA")(logMode, logFile.c_str(), attributes);
}

int TWinInstallerApi::SetInternalUI(int uiLevel) {
  return library_.Function<msi_abi::TSetInternalUI>("MsiSetInternalUI")(uiLevel, nullptr);
}

void TWinInstallerApi::SetExternalUI(TInstallerUiHandler handler, std::uint32_t messageFilter) {
  auto setExternal = library_.Function<msi_abi::TSetExternalUI>("MsiSetExternalUIA");
  if (!handler) {
    setExternal(nullptr, 0, nullptr);
    uiHandler_.reset();
    return;
  }
  // The old handler stays alive until the installer holds the new one.
  auto registered = std::make_unique<TInstallerUiHandler>(std::move(handler));
  setExternal(msi_abi::DispatchUiMessage, messageFilter, registered.get());
  uiHandler_ = std::move(registered);
}

unsigned TWinInstallerApi::InstallProduct(const std::string& package, const std::string& commandLine) {
  return library_.Function<msi_abi::TInstallProduct>("MsiInstallProductA")(package.c_str(), commandLine.c_str());
}

unsigned TWinInstallerApi::ApplyPatch(const std::string& patch, const std::string& commandLine) {
  return library_.Function<msi_abi::TApplyPatch>("MsiApplyPatchA")(patch.c_str(), nullptr,
                                                                   msi_abi::kInstallTypeDefault, commandLine.c_str());
}

unsigned TWinInstallerApi::SourceListAddSource(const std::string& productCode, const std::string& userName,
                                               const std::string& source) {
  return library_.Function<msi_abi::TSourceListAddSource>("MsiSourceListAddSourceA")(
      productCode.c_str(), TextOrNone(userName), 0, source.c_str());
}

TInstallerReply<TInstallerHandle> TWinInstallerApi::OpenPackage(const std::string& package) {
  msi_abi::THandle install = 0;
  UINT result = library_.Function<msi_abi::TOpenPackage>("MsiOpenPackageA")(package.c_str(), &install);
  return {result, TInstallerHandle(*this, install)};
}

unsigned TWinInstallerApi::SetProperty(TInstallerHandleValue install, const std::string& name,
                                       const std::string& value) {
  return library_.Function<msi_abi::TSetProperty>("MsiSetPropertyA")(install, name.c_str(), value.c_str());
}

unsigned TWinInstallerApi::DoAction(TInstallerHandleValue install, const std::string& action) {
  return library_.Function<msi_abi::TDoAction>("MsiDoActionA")(install, action.c_str());
}

bool TWinInstallerApi::GetMode(TInstallerHandleValue install, TRunMode mode) {
  return library_.Function<msi_abi::TGetMode>("MsiGetMode")(install, static_cast<int>(mode)) != FALSE;
}

unsigned TWinInstallerApi::CloseHandle(TInstallerHandleValue handle) {
  return library_.Function<msi_abi::TCloseHandle>("MsiCloseHandle")(handle);
}

TInstallerReply<TInstallerHandle> TWinInstallerApi::OpenDatabase(const std::string& path, TDatabaseOpenMode mode) {
  // The predefined open modes travel as small numbers in the pointer.
  auto persist = reinterpret_cast<LPCSTR>(static_cast<std::uintptr_t>(mode));
  msi_abi::THandle database = 0;
  UINT result = library_.Function<msi_abi::TOpenDatabase>("MsiOpenDatabaseA")(path.c_str(), persist, &database);
  return {result, TInstallerHandle(*this, database)};
}

TInstallerReply<TInstallerHandle> TWinInstallerApi::DatabaseOpenView(TInstallerHandleValue database,
                                                                     const std::string& query) {
  msi_abi::THandle view = 0;
  UINT result = library_.Function<msi_abi::TDatabaseOpenView>("MsiDatabaseOpenViewA")(database, query.c_str(), &view);
  return {result, TInstallerHandle(*this, view)};
}

unsigned TWinInstallerApi::ViewExecute(TInstallerHandleValue view) {
  return library_.Function<msi_abi::TViewExecute>("MsiViewExecute")(view, 0);
}

unsigned TWinInstallerApi::ViewExecuteWithParameters(TInstallerHandleValue view, TInstallerHandleValue parameters) {
  return library_.Function<msi_abi::TViewExecute>("MsiViewExecute")(view, parameters);
}

TInstallerReply<TInstallerHandle> TWinInstallerApi::ViewFetch(TInstallerHandleValue view) {
  msi_abi::THandle record = 0;
  UINT result = library_.Function<msi_abi::TViewFetch>("MsiViewFetch")(view, &record);
  return {result, TInstallerHandle(*this, record)};
}

TInstallerHandle TWinInstallerApi::CreateRecord(unsigned fieldCount) {
  return TInstallerHandle(*this, library_.Function<msi_abi::TCreateRecord>("MsiCreateRecord")(fieldCount));
}

unsigned TWinInstallerApi::RecordSetString(TInstallerHandleValue record, unsigned field, const std::string& value) {
  return library_.Function<msi_abi::TRecordSetString>("MsiRecordSetStringA")(record, field, value.c_str());
}

unsigned TWinInstallerApi::ViewModify(TInstallerHandleValue view, TViewModifyMode mode, TInstallerHandleValue record) {
  return library_.Function<msi_abi::TViewModify>("MsiViewModify")(view, static_cast<int>(mode), record);
}

unsigned TWinInstallerApi::ViewClose(TInstallerHandleValue view) {
  return library_.Function<msi_abi::TViewClose>("MsiViewClose")(view);
}

unsigned TWinInstallerApi::DatabaseCommit(TInstallerHandleValue database) {
  return library_.Function<msi_abi::TDatabaseCommit>("MsiDatabaseCommit")(database);
}

TInstallerReply<TInstallerHandle> TWinInstallerApi::GetSummaryInformation(TInstallerHandleValue database,
                                                                          unsigned updateCount) {
  msi_abi::THandle summary = 0;
  UINT result = library_.Function<msi_abi::TGetSummaryInformation>("MsiGetSummaryInformationA")(
      database, nullptr, updateCount, &summary);
  return {result, TInstallerHandle(*this, summary)};
}

unsigned TWinInstallerApi::SummaryInfoSetString(TInstallerHandleValue summary, unsigned property,
                                                const std::string& value) {
  return library_.Function<msi_abi::TSummaryInfoSetProperty>("MsiSummaryInfoSetPropertyA")(
      summary, property, msi_abi::kTypeString, 0, nullptr, value.c_str());
}

unsigned TWinInstallerApi::SummaryInfoPersist(TInstallerHandleValue summary) {
  return library_.Function<msi_abi::TSummaryInfoPersist>("MsiSummaryInfoPersist")(summary);
}

}  // namespace corvane
