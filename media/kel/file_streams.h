// File streams for 7-Zip: the archive read with seeks, and each extracted
// file written under a temporary name that only a complete, checked item
// turns into the real one.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "media/kel/seven_zip.h"

namespace corvane::kel {

// Opens the archive file; throws KEL_ERROR_ARCHIVE_NOT_FOUND when it does not
// exist, KEL_ERROR_GENERAL when it cannot be read.
CMyComPtr<IInStream> OpenArchiveFile(const std::wstring& path);

// A file being written beside its target. Destroyed uncommitted, it removes
// what it wrote and leaves the target as it was.
class TPendingFile {
public:
  // Throws KEL_ERROR_WRITE.
  explicit TPendingFile(std::wstring target);
  ~TPendingFile();
  TPendingFile(const TPendingFile&) = delete;
  TPendingFile& operator=(const TPendingFile&) = delete;

  HRESULT Write(const void* data, UInt32 size, UInt32* written);
  // Sets the times, puts the file in the target's place, then the
  // attributes (zero times and attributes are left alone). Throws KEL_ERROR_WRITE.
  void Commit(const FILETIME& creationTime, const FILETIME& modificationTime, DWORD attributes);

private:
  std::wstring target_;
  std::wstring temporary_;
  HANDLE handle_;
  bool committed_ = false;
};

// The 7-Zip face of a pending file; afterWrite hears of every written chunk
// and may stop the decoding by failing.
CMyComPtr<ISequentialOutStream> OutStreamFor(std::shared_ptr<TPendingFile> file,
                                             std::function<HRESULT(UInt32 written)> afterWrite);

}  // namespace corvane::kel
