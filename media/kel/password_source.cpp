#include "media/kel/password_source.h"

#include <vector>

#include "media/kel/windows_text.h"

namespace corvane::kel {

TPasswordSource::TPasswordSource(const char* password, TKelPasswordCallback callback)
    : argument_(password ? password : ""), callback_(callback) {}

const std::optional<std::wstring>& TPasswordSource::Password() {
  if (asked_) return password_;
  asked_ = true;
  if (!argument_.empty()) {
    password_ = WideFromAnsi(argument_);
  } else if (callback_) {
    std::vector<char> buffer(KEL_PASSWORD_BUFFER_SIZE, '\0');
    if (callback_(buffer.data()) != 0) {
      buffer.back() = '\0';
      password_ = WideFromAnsi(buffer.data());
    }
  }
  return password_;
}

HRESULT TPasswordSource::Supply(BSTR* password) {
  *password = nullptr;
  const std::optional<std::wstring>& known = Password();
  if (!known) {
    missing_ = true;
    return E_ABORT;
  }
  *password = SysAllocString(known->c_str());
  return *password ? S_OK : E_OUTOFMEMORY;
}

}  // namespace corvane::kel
