// 7-Zip's 7z format library and its codec libraries, loaded once per process.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "media/kel/module_library.h"
#include "media/kel/seven_zip.h"

namespace corvane::kel {

class TCodecHost;

class TSevenZipModule {
public:
  // The engine deploys the libraries into its per-user "Seven Zip" folder and
  // records it in the registry; without that record (or when it is stale) the
  // same layout beside kel.dll serves. The first load that succeeds is kept
  // until the process ends: loading the eight libraries costs more than a
  // small archive's whole extraction, and start-up lists and then extracts.
  // Throws KEL_ERROR_FORMAT_LIBRARY (and tries again on the next call).
  static const TSevenZipModule& Load();

  // A fresh 7z handler with the codecs attached, decoding on the calling
  // thread so that every callback arrives there.
  CMyComPtr<IInArchive> CreateHandler() const;

private:
  TSevenZipModule(TModuleLibrary format, Func_CreateObject createObject);
  static std::unique_ptr<TSevenZipModule> LoadFrom(const std::wstring& folder);

  // Handlers must be released before these libraries; the host is released
  // first because it is declared last.
  TModuleLibrary format_;
  std::vector<TModuleLibrary> codecs_;
  Func_CreateObject createObject_;
  CMyComPtr<ICompressCodecsInfo> host_;
};

}  // namespace corvane::kel
