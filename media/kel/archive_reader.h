// An archive opened with 7-Zip's 7z handler, and what it says of its items.
#pragma once

#include <string>
#include <vector>

#include "media/kel/kel_api.h"
#include "media/kel/seven_zip.h"

namespace corvane::kel {

class TPasswordSource;

struct TArchiveEntry {
  UInt32 index = 0;
  std::wstring path;
  std::string ansiPath;
  bool isFolder = false;
  bool encrypted = false;
  uint64_t size = 0;
  uint64_t packedSize = 0;
  TKelFileTime creationTime = {};
  TKelFileTime modificationTime = {};
  uint32_t attributes = 0;
};

class TOpenArchive {
public:
  // Throws KEL_ERROR_ARCHIVE_NOT_FOUND, KEL_ERROR_WILDCARD_PATH,
  // KEL_ERROR_FORMAT_LIBRARY or KEL_ERROR_CANNOT_OPEN.
  TOpenArchive(const char* path, TPasswordSource& passwords);
  ~TOpenArchive();
  TOpenArchive(const TOpenArchive&) = delete;
  TOpenArchive& operator=(const TOpenArchive&) = delete;

  std::vector<TArchiveEntry> ReadEntries() const;
  IInArchive& Handler() const { return *handler_; }

private:
  CMyComPtr<IInArchive> handler_;
};

}  // namespace corvane::kel
