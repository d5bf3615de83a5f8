#include "media/kel/codec_host.h"

#include "media/kel/module_library.h"

namespace corvane::kel {

void TCodecHost::AddLibrary(const TModuleLibrary& library) {
  const auto count = library.Function<Func_GetNumberOfMethods>("GetNumberOfMethods");
  const auto getProperty = library.Function<Func_GetMethodProperty>("GetMethodProperty");
  const auto createDecoder = library.Function<Func_CreateDecoder>("CreateDecoder");
  UInt32 methods = 0;
  if (!count || !getProperty || !createDecoder || count(&methods) != S_OK) return;
  for (UInt32 i = 0; i < methods; ++i) methods_.push_back({getProperty, createDecoder, i});
}

Z7_COM7F_IMF(TCodecHost::GetNumMethods(UInt32* numMethods)) {
  *numMethods = static_cast<UInt32>(methods_.size());
  return S_OK;
}

Z7_COM7F_IMF(TCodecHost::GetProperty(UInt32 index, PROPID propID, PROPVARIANT* value)) {
  if (index >= methods_.size()) return E_INVALIDARG;
  return methods_[index].getProperty(methods_[index].index, propID, value);
}

Z7_COM7F_IMF(TCodecHost::CreateDecoder(UInt32 index, const GUID* iid, void** coder)) {
  *coder = nullptr;
  if (index >= methods_.size()) return E_INVALIDARG;
  return methods_[index].createDecoder(methods_[index].index, iid, coder);
}

// The library only extracts.
Z7_COM7F_IMF(TCodecHost::CreateEncoder(UInt32, const GUID*, void** coder)) {
  *coder = nullptr;
  return E_NOTIMPL;
}

}  // namespace corvane::kel
