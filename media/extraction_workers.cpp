#include "media/extraction_workers.h"

#include <exception>
#include <utility>

#include "actions/path_text.h"
#include "media/seven_zip_archive.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

TArchiveExtraction ExtractionOf(TExtractionJob& job) {
  const TExtractionRequest& request = job.Request();
  TArchiveExtraction extraction;
  extraction.archivePath = request.archivePath;
  extraction.password = request.password;
  extraction.destination = request.destination;
  extraction.progressCallback = [&job](const std::string& item, uint64_t done, uint64_t total) {
    return job.ReportProgress(item, done, total);
  };
  extraction.overwriteAnswer = request.overwriteAnswer;
  extraction.folderFlag = request.folderFlag;
  return extraction;
}

std::string LowerCase(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

// Paths compared without regard to letter case, as Windows does.
struct TMovedFile {
  std::string source;  // lower case
  std::string destination;
};

const TMovedFile* FindMoved(const std::vector<TMovedFile>& moved, const std::string& source) {
  const std::string lower = LowerCase(source);
  for (const TMovedFile& file : moved) {
    if (file.source == lower) return &file;
  }
  return nullptr;
}

}  // namespace

TDirectExtractMedia::TDirectExtractMedia(TExtractionJob& job, TArchiveLibrary& library, TMediaFiles& files,
                                         std::function<void()> wakeApplication)
    : job_(job), library_(library), files_(files), wakeApplication_(std::move(wakeApplication)) {}

void TDirectExtractMedia::Execute() noexcept {
  bool succeeded = false;
  std::string errorText;
  try {
    files_.CreateFolders(job_.Request().destination);
    succeeded = SevenZipExtractArchive(library_, ExtractionOf(job_), errorText);
  } catch (const std::exception& error) {
    errorText = error.what();
  }
  job_.Finish(succeeded, std::move(errorText));
  if (wakeApplication_) wakeApplication_();
}

TExtractionRequest MediaExtractionRequest(const TMediaArchive& archive, TMediaFiles& files) {
  return {archive.archivePath, files.TemporaryFolder(), archive.archiveKey, true, true};
}

std::string MediaBlockName(const std::string& archivePath) {
  const std::string_view name = FileNamePart(archivePath);
  const std::size_t dot = name.rfind('.');
  return std::string(dot == std::string_view::npos ? name : name.substr(0, dot));
}

TExtractMedia::TExtractMedia(TExtractionJob& job, TMediaArchive archive, TArchiveLibrary& library, TMediaFiles& files,
                             std::function<void()> wakeApplication)
    : job_(job),
      archive_(std::move(archive)),
      library_(library),
      files_(files),
      wakeApplication_(std::move(wakeApplication)) {}

void TExtractMedia::Execute() noexcept {
  bool succeeded = false;
  std::string errorText;
  try {
    succeeded = ExtractAndPlace(errorText);
  } catch (const std::exception& error) {
    errorText = error.what();
  }
  job_.Finish(succeeded, std::move(errorText));
  if (wakeApplication_) wakeApplication_();
}

bool TExtractMedia::ExtractAndPlace(std::string& errorText) {
  const std::string temporary = WithTrailingBackslash(job_.Request().destination);
  files_.CreateFolders(archive_.dataFolder);
  if (!SevenZipExtractArchive(library_, ExtractionOf(job_), errorText)) return false;
  if (!archive_.keepArchive) files_.RemoveFile(archive_.archivePath);
  const std::string block = MediaBlockName(archive_.archivePath);
  const std::string blockFolder = temporary + block + "\\";
  const std::string dataFolder = WithTrailingBackslash(archive_.dataFolder);
  if (PlaceMappedItems(blockFolder) && MoveFolderTree(files_, blockFolder, dataFolder + block + "\\")) return true;
  errorText = "The files of " + blockFolder + " could not be moved into " + dataFolder;
  return false;
}

bool TExtractMedia::PlaceMappedItems(const std::string& blockFolder) {
  const std::string block = MediaBlockName(archive_.archivePath);
  const std::string dataFolder = WithTrailingBackslash(archive_.dataFolder);
  std::vector<TMovedFile> moved;
  const std::vector<std::string>& map = archive_.mediaFileMap;
  for (std::size_t i = 0; i + 2 < map.size(); i += 3) {
    if (!EqualIgnoringCase(map[i], block)) continue;
    const std::string& itemPath = map[i + 1];
    const std::string folder = WithTrailingBackslash(dataFolder + map[i + 2]);
    files_.CreateFolders(folder);
    const std::string destination = folder + std::string(FileNamePart(itemPath));
    const std::string source = blockFolder + itemPath;
    files_.RemoveFile(destination);
    // One item mapped to several folders: the first move took it away.
    if (!files_.FileExists(source)) {
      if (const TMovedFile* earlier = FindMoved(moved, source)) files_.Copy(earlier->destination, source);
    }
    if (!files_.Move(source, destination)) return false;
    moved.push_back({LowerCase(source), destination});
  }
  return true;
}

bool MoveFolderTree(TMediaFiles& files, const std::string& source, const std::string& destination) {
  const std::string from = WithTrailingBackslash(source);
  const std::string to = WithTrailingBackslash(destination);
  for (const std::string& file : files.FilesBelow(from)) {
    const std::string relative = file.substr(from.size());
    const std::string_view relativeFolder = FolderPart(relative);
    files.CreateFolders(to + std::string(relativeFolder));
    const std::string target = to + relative;
    files.RemoveFile(target);
    if (!files.Move(file, target)) return false;
  }
  files.DeleteFolderTree(from);
  return true;
}

}  // namespace corvane
