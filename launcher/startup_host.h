// What the start-up sequence needs from Windows; the sequence itself is
// portable and tested with a fake.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "launcher/file_version.h"
#include "launcher/work_folder.h"

namespace corvane {

class TMessageTable;

// The splash picture and the preparation window with its progress bar,
// from their creation until the object is destroyed.
class TPreparationWindows {
public:
  virtual ~TPreparationWindows() = default;
  virtual void SetProgress(int minimum, int maximum, int position) = 0;
  virtual void StepProgress() = 0;
};

class TStartupHost {
public:
  virtual ~TStartupHost() = default;

  virtual TFileVersion EngineVersion() = 0;  // all 0 without a version resource
  virtual void RestrictToFirstProcessor() = 0;
  virtual std::string EnginePath() = 0;
  virtual std::string TemporaryFolder() = 0;  // with a trailing backslash, created when missing
  virtual std::vector<std::string> Arguments() = 0;  // without the program
  virtual std::string RawCommandLine() = 0;
  virtual std::optional<TFileVersion> CommonControlsVersion() = 0;

  // The splash (when the picture exists) and the preparation window, shown and painted.
  virtual std::unique_ptr<TPreparationWindows> ShowPreparation(const std::string& splashPicture,
                                                               const TMessageTable& messages) = 0;
  // An error box with the error icon and OK; owned by the preparation window
  // when it exists and ownedByPreparation is set.
  virtual void ShowError(const std::string& caption, const std::string& text, bool ownedByPreparation) = 0;

  virtual bool FileExists(const std::string& path) = 0;
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  virtual TFolderCreation CreateFolder(const std::string& path) = 0;
  // Copies over an existing file and clears the copy's attributes; failures are ignored.
  virtual void CopyAsNormalFile(const std::string& from, const std::string& to) = 0;
  // Unpacks every item of the archive below the destination, with its folders.
  virtual bool ExtractArchive(const std::string& archive, const std::string& destination) = 0;
  // Empties the folder (tolerating files still being released) and removes it.
  virtual void DeleteFolderTree(const std::string& folder) = 0;
};

}  // namespace corvane
