// The engine's view of Windows Installer: the functions it calls, one method
// each, in their ANSI form. The engine never imports the installer: the
// Windows implementation binds each function on first use, and every method
// throws TInstallerBindError when the library or that function is missing.
// Other implementations stand in for the installer in tests.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace corvane {

class TInstallerBindError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
  // "Library not found: msi.dll"
  static TInstallerBindError LibraryNotFound(std::string_view library);
  // "Function not found: msi.dll.MsiOpenPackageA"
  static TInstallerBindError FunctionNotFound(std::string_view library, std::string_view function);
};

inline constexpr std::string_view kInstallerLibrary = "msi.dll";

// Results the engine tells apart; any other non-zero result is a Windows error code.
inline constexpr unsigned kInstallerSuccess = 0;
inline constexpr unsigned kInstallerNoMoreItems = 259;
inline constexpr unsigned kInstallerRebootInitiated = 1641;
inline constexpr unsigned kInstallerRebootRequired = 3010;

// The product state meaning "installed"; every other state reads as not installed.
inline constexpr int kInstallStateDefault = 5;

// What the engine passes.
inline constexpr int kUiLevelNoneSourceResOnly = 0x102;
inline constexpr std::uint32_t kMessageFilterAllButFilesInUse = 0x7FDF;
inline constexpr std::uint32_t kLogModeAllButFilesInUse = 0x3FDF;
inline constexpr std::uint32_t kLogAppendAndFlushEachLine = 3;
inline constexpr unsigned kSummaryRevisionNumber = 9;  // holds the package code

enum class TDatabaseOpenMode { ReadOnly = 0, Transact = 1, Direct = 2 };
enum class TViewModifyMode { Update = 2 };
enum class TRunMode { RebootAtEnd = 6, RebootNow = 7 };

// The installer's handles are 32-bit numbers on every Windows; 0 is none.
using TInstallerHandleValue = std::uint32_t;

class TInstallerApi;

// Owns one installer handle and closes it through the API that made it.
class TInstallerHandle {
public:
  TInstallerHandle() = default;
  TInstallerHandle(TInstallerApi& api, TInstallerHandleValue value) : api_(&api), value_(value) {}
  TInstallerHandle(TInstallerHandle&& other) noexcept;
  TInstallerHandle& operator=(TInstallerHandle&& other) noexcept;
  TInstallerHandle(const TInstallerHandle&) = delete;
  TInstallerHandle& operator=(const TInstallerHandle&) = delete;
  ~TInstallerHandle() { Close(); }

  TInstallerHandleValue Get() const { return value_; }
  explicit operator bool() const { return value_ != 0; }
  void Close() noexcept;

private:
  TInstallerApi* api_ = nullptr;
  TInstallerHandleValue value_ = 0;
};

// A call's result code and, on success, what it gave back.
template <typename T>
struct TInstallerReply {
  unsigned result = kInstallerSuccess;
  T value{};

  bool Succeeded() const { return result == kInstallerSuccess; }
};

// Called for every message of the next installer operation, on the thread
// that runs it; the message text is empty where the installer passes none.
// The answer is a message-box button code, 0 for "not handled" (also what
// the installer gets when the handler throws).
using TInstallerUiHandler = std::function<int(std::uint32_t messageType, std::string_view message)>;

class TInstallerApi {
public:
  virtual ~TInstallerApi() = default;

  // Products
  virtual int QueryProductState(const std::string& productCode) = 0;
  virtual TInstallerReply<std::string> GetProductInfo(const std::string& productCode, const std::string& property) = 0;

  // Running the installer
  virtual unsigned EnableLog(std::uint32_t logMode, const std::string& logFile, std::uint32_t attributes) = 0;
  // No owner window; returns the level in force before.
  virtual int SetInternalUI(int uiLevel) = 0;
  // An empty handler takes the registration back. The handler must not be
  // replaced while an operation runs.
  virtual void SetExternalUI(TInstallerUiHandler handler, std::uint32_t messageFilter) = 0;
  virtual unsigned InstallProduct(const std::string& package, const std::string& commandLine) = 0;
  // Patches the products the patch names (no installed package given), default install type.
  virtual unsigned ApplyPatch(const std::string& patch, const std::string& commandLine) = 0;
  // An empty user name registers the source for no particular user.
  virtual unsigned SourceListAddSource(const std::string& productCode, const std::string& userName,
                                       const std::string& source) = 0;
  virtual TInstallerReply<TInstallerHandle> OpenPackage(const std::string& package) = 0;
  virtual unsigned SetProperty(TInstallerHandleValue install, const std::string& name, const std::string& value) = 0;
  virtual unsigned DoAction(TInstallerHandleValue install, const std::string& action) = 0;
  virtual bool GetMode(TInstallerHandleValue install, TRunMode mode) = 0;
  virtual unsigned CloseHandle(TInstallerHandleValue handle) = 0;

  // Package databases
  virtual TInstallerReply<TInstallerHandle> OpenDatabase(const std::string& path, TDatabaseOpenMode mode) = 0;
  virtual TInstallerReply<TInstallerHandle> DatabaseOpenView(TInstallerHandleValue database,
                                                             const std::string& query) = 0;
  // Without parameters.
  virtual unsigned ViewExecute(TInstallerHandleValue view) = 0;
  // The record's fields fill the statement's "?" markers in order, so values
  // reach the table exactly as given, quotes and all.
  virtual unsigned ViewExecuteWithParameters(TInstallerHandleValue view, TInstallerHandleValue parameters) = 0;
  // kInstallerNoMoreItems after the last row.
  virtual TInstallerReply<TInstallerHandle> ViewFetch(TInstallerHandleValue view) = 0;
  // A record of fieldCount empty fields; no handle when the installer refuses.
  virtual TInstallerHandle CreateRecord(unsigned fieldCount) = 0;
  virtual unsigned RecordSetString(TInstallerHandleValue record, unsigned field, const std::string& value) = 0;
  virtual unsigned ViewModify(TInstallerHandleValue view, TViewModifyMode mode, TInstallerHandleValue record) = 0;
  virtual unsigned ViewClose(TInstallerHandleValue view) = 0;
  virtual unsigned DatabaseCommit(TInstallerHandleValue database) = 0;
  // The open database's summary stream, allowing updateCount changed properties.
  virtual TInstallerReply<TInstallerHandle> GetSummaryInformation(TInstallerHandleValue database,
                                                                  unsigned updateCount) = 0;
  // A string-typed property.
  virtual unsigned SummaryInfoSetString(TInstallerHandleValue summary, unsigned property,
                                        const std::string& value) = 0;
  virtual unsigned SummaryInfoPersist(TInstallerHandleValue summary) = 0;
};

}  // namespace corvane
