// The password of one library call: the caller's argument when it is not
// empty, else what the password callback gives, asked at most once.
#pragma once

#include <optional>
#include <string>

#include "media/kel/kel_api.h"
#include "media/kel/seven_zip.h"

namespace corvane::kel {

class TPasswordSource {
public:
  TPasswordSource(const char* password, TKelPasswordCallback callback);

  // For 7-Zip's password requests: E_ABORT when there is none.
  HRESULT Supply(BSTR* password);
  // 7-Zip wanted a password and there was none.
  bool WasMissing() const { return missing_; }

private:
  const std::optional<std::wstring>& Password();

  std::string argument_;
  TKelPasswordCallback callback_;
  bool asked_ = false;
  bool missing_ = false;
  std::optional<std::wstring> password_;
};

}  // namespace corvane::kel
