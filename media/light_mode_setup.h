// "Run Light Mode Setup" builds a nested setup from the engine's own image
// and a script file, runs it, and puts the script file back.
#pragma once

#include <string>

#include "media/media_files.h"

namespace corvane {

class TLightModeSetup {
public:
  TLightModeSetup(TMediaFiles& files, std::string enginePath, std::string scriptFile);
  // Undoes what Build and PlaceArchiveLibrary did; failures are ignored.
  ~TLightModeSetup();
  TLightModeSetup(const TLightModeSetup&) = delete;
  TLightModeSetup& operator=(const TLightModeSetup&) = delete;

  // F becomes the engine's image followed by F's content; the original is
  // kept as F + ".nox". False when nothing can be run: F is unchanged then.
  bool Build();
  // kel.dll from the engine's folder beside F, unless it is already there.
  void PlaceArchiveLibrary();

private:
  bool SharesEngineFolder() const;

  TMediaFiles& files_;
  const std::string enginePath_;
  const std::string scriptFile_;
  bool built_ = false;
  bool placedLibrary_ = false;
};

}  // namespace corvane
