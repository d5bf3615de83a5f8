#include "media/light_mode_setup.h"

#include <cstdint>
#include <optional>
#include <span>
#include <utility>

#include "actions/path_text.h"
#include "launcher/script_container.h"
#include "script/text_rules.h"

namespace corvane {
namespace {

constexpr std::string_view kArchiveLibrary = "kel.dll";

}  // namespace

TLightModeSetup::TLightModeSetup(TMediaFiles& files, std::string enginePath, std::string scriptFile)
    : files_(files), enginePath_(std::move(enginePath)), scriptFile_(std::move(scriptFile)) {}

bool TLightModeSetup::Build() {
  const std::optional<std::string> engine = files_.Read(enginePath_);
  const std::optional<std::string> script = files_.Read(scriptFile_);
  if (!engine || !script) return false;
  const std::optional<std::string> image = ImageWithoutAppendedData(*engine);
  if (!image) return false;
  const std::string built = scriptFile_ + ".to";
  const std::string original = scriptFile_ + ".nox";
  // A half-written setup is never left behind, nor run.
  if (!files_.Write(built, {*image, *script})) {
    files_.RemoveFile(built);
    return false;
  }
  if (!files_.Move(scriptFile_, original)) {
    files_.RemoveFile(built);
    return false;
  }
  if (!files_.Move(built, scriptFile_)) {
    files_.Move(original, scriptFile_);
    files_.RemoveFile(built);
    return false;
  }
  built_ = true;
  return true;
}

// Copying the engine's own kel.dll onto itself, and deleting it afterwards,
// would leave the running engine without its archive library.
bool TLightModeSetup::SharesEngineFolder() const {
  return EqualIgnoringCase(FolderPart(enginePath_), FolderPart(scriptFile_));
}

void TLightModeSetup::PlaceArchiveLibrary() {
  if (SharesEngineFolder()) return;
  placedLibrary_ = files_.Copy(std::string(FolderPart(enginePath_)) + std::string(kArchiveLibrary),
                                   std::string(FolderPart(scriptFile_)) + std::string(kArchiveLibrary));
}

TLightModeSetup::~TLightModeSetup() {
  if (!built_) return;
  if (placedLibrary_) files_.RemoveFile(std::string(FolderPart(scriptFile_)) + std::string(kArchiveLibrary));
  files_.RemoveFile(scriptFile_);
  files_.Move(scriptFile_ + ".nox", scriptFile_);
}

}  // namespace corvane
