// The four entry points of kel.dll. No exception leaves them: each failure
// becomes a result of 0 and a code for GetLastArchiveError.

#include "media/kel/archive_reader.h"
#include "media/kel/extraction.h"
#include "media/kel/kel_api.h"
#include "media/kel/kel_failure.h"
#include "media/kel/listing.h"
#include "media/kel/password_source.h"

namespace corvane::kel {
namespace {

template <class TResult, class TBody>
TResult Guarded(TResult failureResult, TBody&& body) {
  uint32_t& lastError = ThreadLastArchiveError();
  try {
    const TResult result = body();
    lastError = KEL_ERROR_NONE;
    return result;
  } catch (const TKelFailure& failure) {
    lastError = failure.Code();
  } catch (...) {
    lastError = KEL_ERROR_GENERAL;
  }
  return failureResult;
}

}  // namespace
}  // namespace corvane::kel

using namespace corvane::kel;

extern "C" uintptr_t KEL_CALL OpenListArchive(const char* archivePath, uintptr_t, TKelPasswordCallback passwordCallback,
                                              uintptr_t, uintptr_t, uintptr_t, const char* password,
                                              const TArchiveItemRecord** items, uint32_t* itemCount) {
  if (items) *items = nullptr;
  if (itemCount) *itemCount = 0;
  return Guarded<uintptr_t>(0, [&] {
    if (!items || !itemCount) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
    TPasswordSource passwords(password, passwordCallback);
    const TOpenArchive archive(archivePath, passwords);
    return AddListing(archive.ReadEntries(), items, itemCount);
  });
}

extern "C" void KEL_CALL CloseListArchive(uintptr_t handle) {
  Guarded<int>(0, [&] {
    RemoveListing(handle);
    return 1;
  });
}

extern "C" int32_t KEL_CALL ExtractArchive(const char* archivePath, uint32_t mode, const char* destination,
                                           const TSZW_TARGETFILES* selection, uint32_t folders, const char* password,
                                           TKelPasswordCallback passwordCallback, TKelProgressCallback progressCallback,
                                           TKelNotifyCallback notifyCallback, TKelOverwriteCallback overwriteCallback) {
  return Guarded<int32_t>(0, [&] {
    if (mode != KEL_MODE_EXTRACT) throw TKelFailure(KEL_ERROR_INVALID_ARGUMENT);
    ExtractSelectedItems({archivePath, destination, selection, folders, password, passwordCallback, progressCallback,
                          notifyCallback, overwriteCallback});
    return 1;
  });
}

extern "C" uint32_t KEL_CALL GetLastArchiveError(uint32_t) { return ThreadLastArchiveError(); }
