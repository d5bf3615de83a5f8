// Extracts one archive through the engine's wrapper and kel.dll, with the
// progress job and the interpreter wake-ups "Extract 7Zip Archive" uses, and
// prints the wall time in milliseconds. Driven by bench/extract-bench.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "media/extraction_job.h"
#include "media/seven_zip_archive.h"
#include "platform/media/kel_archive_library.h"
#include "platform/windows_workers.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: extract_bench ARCHIVE DESTINATION\n");
    return 2;
  }
  corvane::TKelArchiveLibrary library;
  corvane::TWindowsWorkerThreads workers;
  corvane::TExtractionJob job({argv[1], argv[2], "", true, true}, [&workers] { workers.Wake(0); }, "% complete");
  corvane::TArchiveExtraction extraction;
  extraction.archivePath = argv[1];
  extraction.destination = argv[2];
  extraction.overwriteAnswer = true;
  extraction.folderFlag = true;
  unsigned long calls = 0;
  extraction.progressCallback = [&](const std::string& item, uint64_t done, uint64_t total) {
    ++calls;
    return job.ReportProgress(item, done, total);
  };
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  const bool extracted = corvane::SevenZipExtractArchive(library, extraction, error);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  if (!extracted) {
    std::fprintf(stderr, "extraction failed: %s\n", error.c_str());
    return 1;
  }
  std::printf("%lld ms, %lu progress calls\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count()), calls);
  return 0;
}
