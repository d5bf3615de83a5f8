// The two extraction workers. Each runs on its own thread, touches only its
// job, and ends by setting the job's done flag and waking the interpreter.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "media/archive_library.h"
#include "media/extraction_job.h"
#include "media/media_files.h"

namespace corvane {

// "Extract 7Zip Archive": the job's archive into its destination folder.
class TDirectExtractMedia {
public:
  // wakeApplication wakes the application window once the job is done.
  TDirectExtractMedia(TExtractionJob& job, TArchiveLibrary& library, TMediaFiles& files,
                      std::function<void()> wakeApplication);
  void Execute() noexcept;

private:
  TExtractionJob& job_;
  TArchiveLibrary& library_;
  TMediaFiles& files_;
  std::function<void()> wakeApplication_;
};

// What a web media block hands to the media extraction.
struct TMediaArchive {
  std::string archivePath;
  bool keepArchive = false;
  std::string dataFolder;  // with a trailing backslash
  std::string archiveKey;  // the password, from /k=
  // Triples of the container's media file map: block name, item path inside
  // the block's folder, destination sub-folder of the data folder.
  std::vector<std::string> mediaFileMap;
};

// A web media block's archive: extracted into the temporary folder, the
// mapped items moved to their destinations, the rest of the block's folder
// moved into the data folder.
class TExtractMedia {
public:
  // The job's request is made by MediaExtractionRequest.
  TExtractMedia(TExtractionJob& job, TMediaArchive archive, TArchiveLibrary& library, TMediaFiles& files,
                std::function<void()> wakeApplication);
  void Execute() noexcept;

private:
  bool ExtractAndPlace(std::string& errorText);
  bool PlaceMappedItems(const std::string& blockFolder);

  TExtractionJob& job_;
  const TMediaArchive archive_;
  TArchiveLibrary& library_;
  TMediaFiles& files_;
  std::function<void()> wakeApplication_;
};

// The media job's extraction: the whole archive into the temporary folder,
// the archive key as password, replacing files, keeping folders.
TExtractionRequest MediaExtractionRequest(const TMediaArchive& archive, TMediaFiles& files);

// The archive's file name without its extension: the folder its items sit in.
std::string MediaBlockName(const std::string& archivePath);

// Moves every file below source to the same place below destination,
// replacing files there, then deletes source. False at the first file that
// cannot be moved; what was moved by then stays moved.
bool MoveFolderTree(TMediaFiles& files, const std::string& source, const std::string& destination);

}  // namespace corvane
