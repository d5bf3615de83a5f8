// ExtractArchive's work: choose the items, check where they would land, and
// let 7-Zip decode them into pending files.
#pragma once

#include "media/kel/kel_api.h"

namespace corvane::kel {

struct TExtractRequest {
  const char* archivePath;
  const char* destination;
  const TSZW_TARGETFILES* selection;
  uint32_t folders;  // KEL_FOLDERS_*
  const char* password;
  TKelPasswordCallback passwordCallback;
  TKelProgressCallback progressCallback;
  TKelNotifyCallback notifyCallback;
  TKelOverwriteCallback overwriteCallback;
};

// Throws TKelFailure. Nothing is written when an argument, a selected name
// or a selected item's path is refused.
void ExtractSelectedItems(const TExtractRequest& request);

}  // namespace corvane::kel
