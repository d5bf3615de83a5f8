// The engine's two archive operations, over the archive library: list an
// archive into text lists, and extract it.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "media/archive_library.h"

namespace corvane {

// A password for the library, or none.
using TArchivePasswordCallback = std::function<std::optional<std::string>()>;
// False stops the extraction.
using TArchiveProgressCallback = std::function<bool(const std::string& itemPath, uint64_t done, uint64_t total)>;

// The lists a listing fills, in archive order; absent lists are left alone,
// given ones are cleared first. Numbers are decimal text.
struct TArchiveListing {
  std::vector<std::string>* names = nullptr;
  std::vector<std::string>* attributes = nullptr;
  std::vector<std::string>* sizes = nullptr;
  std::vector<std::string>* packedSizes = nullptr;
  std::vector<std::string>* dates = nullptr;
};

// Without a password callback the password is offered to the library once.
// False with the error text when the archive cannot be listed.
bool SevenZipListArchive(TArchiveLibrary& library, const std::string& archivePath, const std::string& password,
                         std::string& errorText, const TArchivePasswordCallback& passwordCallback,
                         const TArchiveListing& lists);

struct TArchiveExtraction {
  std::string archivePath;
  std::string password;
  std::string destination;
  TArchivePasswordCallback passwordCallback;           // absent: the password, offered once
  TArchiveProgressCallback progressCallback;           // absent: never stops
  const std::vector<std::string>* fileList = nullptr;  // absent: every item of the archive
  bool overwriteAnswer = false;                        // existing files are replaced when set, kept when clear
  bool folderFlag = false;  // set: items keep their folders; clear: all land in the destination
};

// True when every item was extracted; otherwise false with the error text:
// the listing's text, or "#" and the library's code.
bool SevenZipExtractArchive(TArchiveLibrary& library, const TArchiveExtraction& extraction, std::string& errorText);

}  // namespace corvane
