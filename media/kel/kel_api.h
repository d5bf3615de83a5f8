// The calling contract of the archive library kel.dll, shared by the library
// and the engine. Strings are ANSI (the system code page); every function and
// callback uses the standard Windows calling convention. The library makes
// every callback on the thread that called it, before the call returns.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define KEL_CALL __stdcall
#else
#define KEL_CALL
#endif

extern "C" {

// A FILETIME (UTC), spelt out so that code without the Windows headers can
// hold one; same layout and alignment.
struct TKelFileTime {
  uint32_t lowDateTime;
  uint32_t highDateTime;
};

enum : uint32_t {
  KEL_ITEM_FOLDER = 1u << 0,
  KEL_ITEM_ENCRYPTED = 1u << 1,
};

// One entry of the array OpenListArchive hands out; owned by the library.
struct TArchiveItemRecord {
  const char* path;  // inside the archive, folders separated by '\'
  uint32_t index;    // the item's index in the archive
  uint64_t size;
  uint64_t packedSize;        // 0 for all but the first item of a solid block
  TKelFileTime creationTime;  // zero when the archive has none
  TKelFileTime modificationTime;
  uint32_t attributes;  // as stored in the archive
  uint32_t flags;       // KEL_ITEM_*
};

// The file selection for ExtractArchive: item paths exactly as listed.
struct TSZW_TARGETFILES {
  const char* const* fileNames;
  uint32_t count;
};

#if defined(_WIN32) && !defined(_WIN64)
static_assert(sizeof(TArchiveItemRecord) == 48);
static_assert(offsetof(TArchiveItemRecord, size) == 8);
static_assert(offsetof(TArchiveItemRecord, packedSize) == 16);
static_assert(offsetof(TArchiveItemRecord, modificationTime) == 32);
static_assert(offsetof(TArchiveItemRecord, attributes) == 40);
static_assert(sizeof(TSZW_TARGETFILES) == 8);
static_assert(offsetof(TSZW_TARGETFILES, count) == 4);
#endif

// The password callback receives a buffer of this many characters, room for
// the terminating zero included.
inline constexpr uint32_t KEL_PASSWORD_BUFFER_SIZE = 1024;

// Writes a password into the buffer and returns 1, or returns 0 for none.
// Asked at most once per call, and only when the password argument is empty.
typedef int32_t(KEL_CALL* TKelPasswordCallback)(char* buffer);
// Returns 1 to go on, 0 to stop the extraction.
typedef int32_t(KEL_CALL* TKelProgressCallback)(const char* itemPath, uint64_t done, uint64_t total);
// Told before each file is written and when one is skipped; 1 goes on, 0 stops.
typedef int32_t(KEL_CALL* TKelNotifyCallback)(uint32_t event, uint32_t itemIndex);
// Asked when a file to be written exists already; times are FILETIME values.
// Returns one of KEL_OVERWRITE_*.
typedef int32_t(KEL_CALL* TKelOverwriteCallback)(const char* existingPath, uint64_t existingSize, uint64_t existingTime,
                                                 const char* itemPath, uint64_t itemSize, uint64_t itemTime);

enum : uint32_t {
  KEL_NOTIFY_ITEM_START = 1,
  KEL_NOTIFY_ITEM_SKIPPED = 2,
};

// Answers of the overwrite callback; anything else stops the extraction.
enum : int32_t {
  KEL_OVERWRITE_NO = 1,  // keep the existing file
  KEL_OVERWRITE_NO_TO_ALL = 2,
  KEL_OVERWRITE_YES = 3,  // replace it
  KEL_OVERWRITE_YES_TO_ALL = 4,
};

// The mode argument of ExtractArchive.
enum : uint32_t { KEL_MODE_EXTRACT = 1 };

// The folder argument of ExtractArchive.
enum : uint32_t {
  KEL_FOLDERS_KEEP = 0,  // items keep their folders below the destination
  KEL_FOLDERS_FLAT = 1,  // every file lands in the destination itself
};

// GetLastArchiveError: the failure of this thread's latest call, 0 after success.
enum : uint32_t {
  KEL_ERROR_NONE = 0,
  KEL_ERROR_GENERAL = 1000,
  KEL_ERROR_ARCHIVE_NOT_FOUND = 1001,  // also for an empty path
  KEL_ERROR_WILDCARD_PATH = 1002,      // the archive path holds '*' or '?'
  KEL_ERROR_CANNOT_OPEN = 1003,        // not a 7z archive, damaged headers, or wrong password for encrypted headers
  KEL_ERROR_FORMAT_LIBRARY = 1004,     // 7-Zip's format library is missing or unusable
  KEL_ERROR_NOT_IN_ARCHIVE = 1005,     // a selected path names no item
  KEL_ERROR_UNSAFE_ITEM_PATH = 1006,   // an item would land outside the destination
  KEL_ERROR_DATA = 1007,               // damaged or truncated data
  KEL_ERROR_WRONG_PASSWORD = 1008,     // encrypted data without the right password
  KEL_ERROR_UNSUPPORTED_METHOD = 1009,
  KEL_ERROR_WRITE = 1010,    // a file or folder of the destination could not be made
  KEL_ERROR_STOPPED = 1011,  // a callback asked to stop
  KEL_ERROR_INVALID_ARGUMENT = 1012,
};

// Opens and lists an archive. The reserved arguments are 0. On success returns
// a non-zero handle and the item array, valid until CloseListArchive; on
// failure returns 0.
uintptr_t KEL_CALL OpenListArchive(const char* archivePath, uintptr_t reserved1, TKelPasswordCallback passwordCallback,
                                   uintptr_t reserved2, uintptr_t reserved3, uintptr_t reserved4, const char* password,
                                   const TArchiveItemRecord** items, uint32_t* itemCount);
// Releases the item array; unknown handles are ignored.
void KEL_CALL CloseListArchive(uintptr_t handle);
// Extracts the selected items below the destination folder (made when
// missing). Returns 1 when every selected item was extracted or deliberately
// kept, 0 on failure or when a callback stopped it. Callbacks may be null:
// then no password is asked for, nothing stops, and existing files are
// replaced. Nothing is written when an item's path would leave the
// destination; a file appears under its name only once it is complete and
// its checksum matched.
int32_t KEL_CALL ExtractArchive(const char* archivePath, uint32_t mode, const char* destination,
                                const TSZW_TARGETFILES* selection, uint32_t folders, const char* password,
                                TKelPasswordCallback passwordCallback, TKelProgressCallback progressCallback,
                                TKelNotifyCallback notifyCallback, TKelOverwriteCallback overwriteCallback);
uint32_t KEL_CALL GetLastArchiveError(uint32_t reserved);

}  // extern "C"
