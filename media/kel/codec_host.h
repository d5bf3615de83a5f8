// Hands 7-Zip's format library the decoders of the separate codec libraries.
#pragma once

#include <vector>

#include "media/kel/seven_zip.h"

namespace corvane::kel {

class TModuleLibrary;

Z7_CLASS_IMP_COM_1(TCodecHost, ICompressCodecsInfo)
public:
  // Takes every method of a codec library; libraries without the codec
  // exports add nothing. The library must outlive this host.
  void AddLibrary(const TModuleLibrary& library);

private:
  struct TMethod {
    Func_GetMethodProperty getProperty;
    Func_CreateDecoder createDecoder;
    UInt32 index;
  };
  std::vector<TMethod> methods_;
};

}  // namespace corvane::kel
