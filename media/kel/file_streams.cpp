#include "media/kel/file_streams.h"

#include <utility>

#include "media/kel/kel_api.h"
#include "media/kel/kel_failure.h"

namespace corvane::kel {
namespace {

HRESULT LastErrorResult() { return HRESULT_FROM_WIN32(GetLastError()); }

Z7_CLASS_IMP_COM_2(TInFileStream, IInStream, IStreamGetSize)
  Z7_IFACE_COM7_IMP(ISequentialInStream)
public:
  explicit TInFileStream(HANDLE handle) : handle_(handle) {}
  ~TInFileStream() { CloseHandle(handle_); }

private:
  HANDLE handle_;
};

Z7_COM7F_IMF(TInFileStream::Read(void* data, UInt32 size, UInt32* processedSize)) {
  DWORD read = 0;
  const BOOL ok = ReadFile(handle_, data, size, &read, nullptr);
  if (processedSize) *processedSize = read;
  return ok ? S_OK : LastErrorResult();
}

Z7_COM7F_IMF(TInFileStream::Seek(Int64 offset, UInt32 seekOrigin, UInt64* newPosition)) {
  if (seekOrigin > FILE_END) return STG_E_INVALIDFUNCTION;
  LARGE_INTEGER distance;
  distance.QuadPart = offset;
  LARGE_INTEGER position;
  if (!SetFilePointerEx(handle_, distance, &position, seekOrigin)) return LastErrorResult();
  if (newPosition) *newPosition = static_cast<UInt64>(position.QuadPart);
  return S_OK;
}

Z7_COM7F_IMF(TInFileStream::GetSize(UInt64* size)) {
  LARGE_INTEGER fileSize;
  if (!GetFileSizeEx(handle_, &fileSize)) return LastErrorResult();
  *size = static_cast<UInt64>(fileSize.QuadPart);
  return S_OK;
}

Z7_CLASS_IMP_COM_1(TOutFileStream, ISequentialOutStream)
public:
  TOutFileStream(std::shared_ptr<TPendingFile> file, std::function<HRESULT(UInt32)> afterWrite)
      : file_(std::move(file)), afterWrite_(std::move(afterWrite)) {}

private:
  std::shared_ptr<TPendingFile> file_;
  std::function<HRESULT(UInt32)> afterWrite_;
};

Z7_COM7F_IMF(TOutFileStream::Write(const void* data, UInt32 size, UInt32* processedSize)) {
  UInt32 written = 0;
  const HRESULT result = file_->Write(data, size, &written);
  if (processedSize) *processedSize = written;
  return result == S_OK ? afterWrite_(written) : result;
}

bool IsZero(const FILETIME& time) { return time.dwLowDateTime == 0 && time.dwHighDateTime == 0; }

}  // namespace

CMyComPtr<IInStream> OpenArchiveFile(const std::wstring& path) {
  const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
                         error == ERROR_INVALID_NAME || error == ERROR_BAD_NETPATH;
    throw TKelFailure(missing ? KEL_ERROR_ARCHIVE_NOT_FOUND : KEL_ERROR_GENERAL);
  }
  return CMyComPtr<IInStream>(new TInFileStream(handle));
}

TPendingFile::TPendingFile(std::wstring target) : target_(std::move(target)), handle_(INVALID_HANDLE_VALUE) {
  // A name of our own beside the target, so the final rename stays on one volume.
  const std::wstring stem = target_ + L".kel" + std::to_wstring(GetCurrentProcessId()) + L"-";
  for (unsigned attempt = 0; attempt < 100 && handle_ == INVALID_HANDLE_VALUE; ++attempt) {
    temporary_ = stem + std::to_wstring(attempt) + L".tmp";
    handle_ = CreateFileW(temporary_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle_ == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (handle_ == INVALID_HANDLE_VALUE) throw TKelFailure(KEL_ERROR_WRITE);
}

TPendingFile::~TPendingFile() {
  if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  if (!committed_) DeleteFileW(temporary_.c_str());
}

HRESULT TPendingFile::Write(const void* data, UInt32 size, UInt32* written) {
  DWORD count = 0;
  const BOOL ok = handle_ != INVALID_HANDLE_VALUE && WriteFile(handle_, data, size, &count, nullptr);
  if (written) *written = count;
  return ok ? S_OK : E_FAIL;
}

void TPendingFile::Commit(const FILETIME& creationTime, const FILETIME& modificationTime, DWORD attributes) {
  SetFileTime(handle_, IsZero(creationTime) ? nullptr : &creationTime, nullptr,
              IsZero(modificationTime) ? nullptr : &modificationTime);
  const bool closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
  // A read-only file in the way would refuse to be replaced.
  SetFileAttributesW(target_.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!closed || !MoveFileExW(temporary_.c_str(), target_.c_str(), MOVEFILE_REPLACE_EXISTING)) {
    throw TKelFailure(KEL_ERROR_WRITE);
  }
  committed_ = true;
  if (attributes != 0) SetFileAttributesW(target_.c_str(), attributes);
}

CMyComPtr<ISequentialOutStream> OutStreamFor(std::shared_ptr<TPendingFile> file,
                                             std::function<HRESULT(UInt32)> afterWrite) {
  return CMyComPtr<ISequentialOutStream>(new TOutFileStream(std::move(file), std::move(afterWrite)));
}

}  // namespace corvane::kel
