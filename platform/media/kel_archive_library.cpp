#include "platform/media/kel_archive_library.h"

#include <windows.h>

#include <algorithm>

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
  explicit TListingHandle(uintptr_t handle) : handle_(handle) {}
  ~TListingHandle() { CloseListArchive(handle_); }
  TListingHandle(const TListingHandle&) = delete;
  TListingHandle& operator=(const TListingHandle&) = delete;

private:
  uintptr_t handle_;
};

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

std::optional<std::vector<TArchiveListEntry>> TKelArchiveLibrary::List(const std::string& archivePath,
                                                                       const std::string& password,
                                                                       TArchiveCallbacks& callbacks) {
  const TCallbackScope scope(callbacks);
  const TArchiveItemRecord* items = nullptr;
  uint32_t count = 0;
  const uintptr_t handle =
      OpenListArchive(archivePath.c_str(), 0, OfferPassword, 0, 0, 0, password.c_str(), &items, &count);
  if (handle == 0) return std::nullopt;
  const TListingHandle close(handle);
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
  const TCallbackScope scope(callbacks);
  std::vector<const char*> names;
  names.reserve(selection.size());
  for (const std::string& name : selection) names.push_back(name.c_str());
  const TSZW_TARGETFILES files = {names.data(), static_cast<uint32_t>(names.size())};
  return ExtractArchive(archivePath.c_str(), KEL_MODE_EXTRACT, destination.c_str(), &files, folders, password.c_str(),
                        OfferPassword, ReportProgress, AcceptNotification, AnswerOverwrite) != 0;
}

uint32_t TKelArchiveLibrary::LastError() { return GetLastArchiveError(0); }

}  // namespace corvane
