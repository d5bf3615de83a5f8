// What the work folder's copy of the package cannot know in advance, written
// into it before the installer runs: the properties the script recorded,
// localised shortcut and ProgId texts, and fresh identity codes for a new
// product instance. Only that copy is ever changed.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "installer/guid_text.h"
#include "installer/installer_api.h"
#include "script/deferred_records.h"

namespace corvane {

// The identity a new product instance ("Transform Instance") gives the package.
struct TNewInstanceCodes {
  std::string packageCode;  // REVISIONCODE
  std::string productCode;  // PRODUCTCODE
};

using TPackagePropertyQueue = std::vector<std::pair<std::string, std::string>>;

struct TPackagePreparation {
  bool languageActive = false;                        // the shortcut and ProgId texts apply
  std::optional<TNewInstanceCodes> newInstance = {};  // set for the rest of the run once transformed
  TGuidSource newGuid = NewRandomGuid;                // component codes of a new instance
};

// What "Apply Changes" calls before the installer installs, repairs,
// advertises or removes (never before a patch): with a setup language the
// shortcut and ProgId texts, then the queued properties, which are
// discarded once written. Returns the package path when it now carries new
// identity codes (the package to keep for maintenance). A package that
// cannot be opened is left as it is, and the queue is kept for the next time;
// failing statements are skipped. Only a missing msi.dll (or function of it)
// throws, TInstallerBindError.
std::optional<std::string> PreparePackageDatabase(TInstallerApi& api, const std::string& packagePath,
                                                  TDeferredRecords& records, const TPackagePreparation& preparation);

// The steps one by one.
// A new instance also gets new component codes, and its package code and
// ProductCode at the last queued pair. Every pair is inserted, then updated,
// so the last pair of a name wins. "$NEWLINE$" is written as CR LF.
std::optional<std::string> PreparePackage(TInstallerApi& api, const std::string& packagePath,
                                          TPackagePropertyQueue& queue,
                                          const std::optional<TNewInstanceCodes>& newInstance,
                                          const TGuidSource& newGuid);
// Shortcut rows whose Directory_ is a triple's key take its name and description.
void ApplyShortcutTexts(TInstallerApi& api, const std::string& packagePath, const std::vector<TShortcutText>& texts);
// The ProgId row of a triple's key takes its description, then its new ProgId.
void ApplyProgIdTexts(TInstallerApi& api, const std::string& packagePath, const std::vector<TProgIdText>& texts);

}  // namespace corvane
