// Arbitrary bytes as the comma text a plug-in hands back: whatever the store
// imports must survive export and import unchanged. The same bytes, decoded
// into pairs, must survive export and import as well.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "script/comma_text.h"
#include "script/engine_context.h"

namespace {

using corvane::TVariable;

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

void ImportExportImport(std::string_view text) {
  corvane::TEngineContext engine{corvane::TStartOptions{}};
  engine.store.Import(text);
  const std::vector<TVariable> imported = engine.store.Variables();
  const std::string exported = engine.store.Export();
  engine.store.Import(exported);
  Check(engine.store.Variables() == imported);
  Check(engine.store.Export() == exported);
}

void PairsRoundTrip(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider provider(data, size);
  std::vector<TVariable> pairs;
  while (provider.remaining_bytes() > 0) {
    std::string name = provider.ConsumeRandomLengthString();
    std::string value = provider.ConsumeRandomLengthString();
    pairs.push_back({std::move(name), std::move(value)});
  }
  Check(corvane::VariablesFromCommaText(corvane::ExportCommaText(pairs)) == pairs);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ImportExportImport(std::string_view(reinterpret_cast<const char*>(data), size));
  PairsRoundTrip(data, size);
  return 0;
}
