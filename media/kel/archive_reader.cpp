#include "media/kel/archive_reader.h"

#include "media/kel/file_streams.h"
#include "media/kel/kel_failure.h"
#include "media/kel/password_source.h"
#include "media/kel/seven_zip_module.h"
#include "media/kel/windows_text.h"

namespace corvane::kel {
namespace {

Z7_CLASS_IMP_COM_2(TOpenCallback, IArchiveOpenCallback, ICryptoGetTextPassword)
public:
  explicit TOpenCallback(TPasswordSource& passwords) : passwords_(passwords) {}

private:
  TPasswordSource& passwords_;
};

Z7_COM7F_IMF(TOpenCallback::SetTotal(const UInt64*, const UInt64*)) { return S_OK; }
Z7_COM7F_IMF(TOpenCallback::SetCompleted(const UInt64*, const UInt64*)) { return S_OK; }
Z7_COM7F_IMF(TOpenCallback::CryptoGetTextPassword(BSTR* password)) { return passwords_.Supply(password); }

std::wstring CheckedArchivePath(const char* path) {
  const std::string text = path ? path : "";
  if (text.empty()) throw TKelFailure(KEL_ERROR_ARCHIVE_NOT_FOUND);
  if (text.find_first_of("*?") != std::string::npos) throw TKelFailure(KEL_ERROR_WILDCARD_PATH);
  return WideFromAnsi(text);
}

class TItemProperties {
public:
  TItemProperties(IInArchive& handler, UInt32 index) : handler_(handler), index_(index) {}

  const PROPVARIANT& Get(PROPID property) {
    if (handler_.GetProperty(index_, property, value_.Out()) != S_OK) throw TKelFailure(KEL_ERROR_GENERAL);
    return value_.Get();
  }
  std::wstring Text(PROPID property) {
    const PROPVARIANT& value = Get(property);
    return value.vt == VT_BSTR && value.bstrVal ? std::wstring(value.bstrVal) : std::wstring();
  }
  uint64_t Number(PROPID property) {
    const PROPVARIANT& value = Get(property);
    if (value.vt == VT_UI8) return value.uhVal.QuadPart;
    return value.vt == VT_UI4 ? value.ulVal : 0;
  }
  bool Flag(PROPID property) {
    const PROPVARIANT& value = Get(property);
    return value.vt == VT_BOOL && value.boolVal != VARIANT_FALSE;
  }
  TKelFileTime Time(PROPID property) {
    const PROPVARIANT& value = Get(property);
    if (value.vt != VT_FILETIME) return {};
    return {value.filetime.dwLowDateTime, value.filetime.dwHighDateTime};
  }

private:
  IInArchive& handler_;
  UInt32 index_;
  TPropVariant value_;
};

}  // namespace

TOpenArchive::TOpenArchive(const char* path, TPasswordSource& passwords) {
  const CMyComPtr<IInStream> stream = OpenArchiveFile(CheckedArchivePath(path));
  handler_ = TSevenZipModule::Load().CreateHandler();
  const CMyComPtr<IArchiveOpenCallback> callback(new TOpenCallback(passwords));
  // The archive must start at the first byte; no searching for one inside.
  const UInt64 searchLimit = 0;
  if (handler_->Open(stream, &searchLimit, callback) != S_OK) {
    handler_.Release();
    throw TKelFailure(KEL_ERROR_CANNOT_OPEN);
  }
}

TOpenArchive::~TOpenArchive() {
  if (handler_) handler_->Close();
}

std::vector<TArchiveEntry> TOpenArchive::ReadEntries() const {
  UInt32 count = 0;
  if (handler_->GetNumberOfItems(&count) != S_OK) throw TKelFailure(KEL_ERROR_GENERAL);
  std::vector<TArchiveEntry> entries;
  entries.reserve(count);
  for (UInt32 index = 0; index < count; ++index) {
    TItemProperties item(*handler_, index);
    TArchiveEntry& entry = entries.emplace_back();
    entry.index = index;
    entry.path = item.Text(kpidPath);
    entry.ansiPath = AnsiFromWide(entry.path);
    entry.isFolder = item.Flag(kpidIsDir);
    entry.encrypted = item.Flag(kpidEncrypted);
    entry.size = item.Number(kpidSize);
    entry.packedSize = item.Number(kpidPackSize);
    entry.creationTime = item.Time(kpidCTime);
    entry.modificationTime = item.Time(kpidMTime);
    entry.attributes = static_cast<uint32_t>(item.Number(kpidAttrib));
  }
  return entries;
}

}  // namespace corvane::kel
