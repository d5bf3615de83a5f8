#include "platform/media/kel_archive_library.h"

#include <algorithm>
#include <stdexcept>

namespace corvane {
namespace {

// kel.dll's callbacks carry no context but come back on the calling thread
// before the call returns, so the call in progress is found per thread.
thread_local TArchiveCallbacks* tCallbacks = nullptr;

class TCallbackScope {
public:
  explicit TCallbackScope(TArchiveCallbacks& callbacks) : previous_(tCallbacks) { tCallbacks = &callbacks; }
  ~TCallbackScope() { tCallbacks = previous_; }
  TCallbackScope(const TCallbackScope&) = delete;
  TCallbackScope& operator=(const TCallbackScope&) = delete;

private:
  TArchiveCallbacks* previous_;
};

// Nothing may unwind into kel.dll; a callback that fails answers "no".
int32_t KEL_CALL OfferPassword(char* buffer) {
  try {
    const std::optional<std::string> password = tCallbacks ? tCallbacks->Password() : std::nullopt;
    // A password the buffer cannot hold is not cut short into a wrong one.
    if (!password || password->size() >= KEL_PASSWORD_BUFFER_SIZE) return 0;
    std::copy(password->begin(), password->end(), buffer);
    buffer[password->size()] = '\0';
    return 1;
  } catch (...) {
    return 0;
  }
}

int32_t KEL_CALL ReportProgress(const char* itemPath, uint64_t done, uint64_t total) {
  try {
    return !tCallbacks || tCallbacks->Progress(itemPath ? itemPath : "", done, total) ? 1 : 0;
  } catch (...) {
    return 0;
  }
}

int32_t KEL_CALL AcceptNotification(uint32_t, uint32_t) { return 1; }

int32_t KEL_CALL AnswerOverwrite(const char*, uint64_t, uint64_t, const char*, uint64_t, uint64_t) {
  try {
    return tCallbacks ? tCallbacks->OverwriteAnswer() : KEL_OVERWRITE_NO;
  } catch (...) {
    return 0;
  }
}

class TListingHandle {
public:
  TListingHandle(decltype(&::CloseListArchive) close, uintptr_t handle) : close_(close), handle_(handle) {}
  ~TListingHandle() { close_(handle_); }
  TListingHandle(const TListingHandle&) = delete;
  TListingHandle& operator=(const TListingHandle&) = delete;

private:
  decltype(&::CloseListArchive) close_;
  uintptr_t handle_;
};

// The ANSI form of a path, for error texts.
std::string Narrow(const std::wstring& text) {
  const int size = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (size <= 1) return {};
  std::string narrow(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrow.data(), size, nullptr, nullptr);
  narrow.resize(static_cast<size_t>(size - 1));
  return narrow;
}

template <typename TFunction>
void Bind(HMODULE module, const char* name, TFunction& function, std::string& missing) {
  function = reinterpret_cast<TFunction>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  if (!function && missing.empty()) missing = name;
}

using TLocaleFormat = int(WINAPI*)(LCID, DWORD, const SYSTEMTIME*, LPCSTR, LPSTR, int);

std::string LocaleText(TLocaleFormat format, DWORD flags, const SYSTEMTIME& time) {
  const int size = format(LOCALE_USER_DEFAULT, flags, &time, nullptr, nullptr, 0);
  if (size <= 0) return {};
  std::string text(static_cast<size_t>(size), '\0');
  const int written = format(LOCALE_USER_DEFAULT, flags, &time, nullptr, text.data(), size);
  text.resize(static_cast<size_t>(std::max(written - 1, 0)));  // less the terminating zero
  return text;
}

}  // namespace

std::string FormatArchiveDate(const TKelFileTime& time) {
  const FILETIME utc = {time.lowDateTime, time.highDateTime};
  FILETIME local;
  WORD dosDate = 0;
  WORD dosTime = 0;
  FILETIME rounded;
  SYSTEMTIME parts;
  if ((utc.dwLowDateTime == 0 && utc.dwHighDateTime == 0) || !FileTimeToLocalFileTime(&utc, &local) ||
      !FileTimeToDosDateTime(&local, &dosDate, &dosTime) || !DosDateTimeToFileTime(dosDate, dosTime, &rounded) ||
      !FileTimeToSystemTime(&rounded, &parts)) {
    return {};
  }
  return LocaleText(GetDateFormatA, DATE_SHORTDATE, parts) + " " + LocaleText(GetTimeFormatA, 0, parts);
}

std::wstring ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path.substr(0, path.find_last_of(L'\\') + 1);
    }
    path.resize(path.size() * 2);
  }
}

TKelArchiveLibrary::TKelArchiveLibrary() : TKelArchiveLibrary(ProgramFolder() + L"kel.dll") {}

TKelArchiveLibrary::TKelArchiveLibrary(const std::wstring& path) {
  module_ = LoadLibraryExW(path.c_str(), nullptr, 0);
  if (!module_) {
    unusable_ = "The archive library " + Narrow(path) + " could not be loaded (error " +
                std::to_string(GetLastError()) + ")";
    return;
  }
  std::string missing;
  Bind(module_, "OpenListArchive", openListArchive_, missing);
  Bind(module_, "CloseListArchive", closeListArchive_, missing);
  Bind(module_, "ExtractArchive", extractArchive_, missing);
  Bind(module_, "GetLastArchiveError", getLastArchiveError_, missing);
  if (!missing.empty()) unusable_ = "The archive library " + Narrow(path) + " lacks the function " + missing;
}

TKelArchiveLibrary::~TKelArchiveLibrary() {
  if (module_) FreeLibrary(module_);
}

void TKelArchiveLibrary::EnsureUsable() const {
  if (!unusable_.empty()) throw std::runtime_error(unusable_);
}

std::optional<std::vector<TArchiveListEntry>> TKelArchiveLibrary::List(const std::string& archivePath,
                                                                       const std::string& password,
                                                                       TArchiveCallbacks& callbacks) {
  EnsureUsable();
  const TCallbackScope scope(callbacks);
  const TArchiveItemRecord* items = nullptr;
  uint32_t count = 0;
  const uintptr_t handle =
      openListArchive_(archivePath.c_str(), 0, OfferPassword, 0, 0, 0, password.c_str(), &items, &count);
  if (handle == 0) return std::nullopt;
  const TListingHandle close(closeListArchive_, handle);
  std::vector<TArchiveListEntry> entries;
  entries.reserve(count);
  for (uint32_t i = 0; i < count; ++i) {
    const TArchiveItemRecord& item = items[i];
    entries.push_back({item.path ? item.path : "", item.attributes, item.size, item.packedSize,
                       FormatArchiveDate(item.modificationTime)});
  }
  return entries;
}

bool TKelArchiveLibrary::Extract(const std::string& archivePath, const std::string& destination,
                                 const std::vector<std::string>& selection, uint32_t folders,
                                 const std::string& password, TArchiveCallbacks& callbacks) {
  EnsureUsable();
  const TCallbackScope scope(callbacks);
  std::vector<const char*> names;
  names.reserve(selection.size());
  for (const std::string& name : selection) names.push_back(name.c_str());
  const TSZW_TARGETFILES files = {names.data(), static_cast<uint32_t>(names.size())};
  return extractArchive_(archivePath.c_str(), KEL_MODE_EXTRACT, destination.c_str(), &files, folders, password.c_str(),
                        OfferPassword, ReportProgress, AcceptNotification, AnswerOverwrite) != 0;
}

uint32_t TKelArchiveLibrary::LastError() {
  return getLastArchiveError_ ? getLastArchiveError_(0) : KEL_ERROR_GENERAL;
}

}  // namespace corvane
