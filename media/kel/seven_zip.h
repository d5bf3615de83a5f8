// 7-Zip's interface headers, as kel uses them.
#pragma once

#include <windows.h>
// The lean Windows headers leave out the OLE types 7-Zip is built on.
#include <ole2.h>

#include "Common/MyCom.h"
#include "7zip/Archive/IArchive.h"
#include "7zip/ICoder.h"
#include "7zip/IPassword.h"

namespace corvane::kel {

// {23170F69-40C1-278A-1000-000110070000}: the 7z handler.
Z7_DEFINE_GUID(CLSID_Format7z, k_7zip_GUID_Data1, k_7zip_GUID_Data2, k_7zip_GUID_Data3_Common, 0x10, 0x00, 0x00, 0x01,
               0x10, 0x07, 0x00, 0x00);

// Owns a PROPVARIANT that 7-Zip fills.
class TPropVariant {
public:
  TPropVariant() { PropVariantInit(&value_); }
  ~TPropVariant() { PropVariantClear(&value_); }
  TPropVariant(const TPropVariant&) = delete;
  TPropVariant& operator=(const TPropVariant&) = delete;

  PROPVARIANT* Out() {
    PropVariantClear(&value_);
    return &value_;
  }
  const PROPVARIANT& Get() const { return value_; }

private:
  PROPVARIANT value_;
};

}  // namespace corvane::kel
