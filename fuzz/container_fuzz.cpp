// Arbitrary bytes as a script container and as an executable carrying one.
// A container that parses must survive Serialize/Parse unchanged, and the
// indexed lookups must answer what a scan from the top of the list answers.
#include "launcher/script_container.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using corvane::TScriptContainer;

void Check(bool condition) {
  if (!condition) {
    __builtin_trap();
  }
}

std::string ScannedParameter(const std::vector<std::string>& lines, std::string_view guid, std::size_t n) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] == guid) {
      return i + n < lines.size() ? lines[i + n] : std::string();
    }
  }
  return {};
}

std::string ScannedHeader(const std::vector<std::string>& table, std::size_t index) {
  const std::string text = std::to_string(index);
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (table[i] == text) {
      return i > 0 ? table[i - 1] : std::string();
    }
  }
  return {};
}

void CheckLookups(const TScriptContainer& container) {
  const std::vector<std::string>& blocks = container.Sections().parameterBlocks;
  std::vector<std::string> keys = container.Sections().commandGuids;
  keys.insert(keys.end(), blocks.begin(), blocks.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(blocks.size(), 8)));
  for (const std::string& key : keys) {
    for (std::size_t n = 0; n < 4; ++n) {
      // An empty GUID names no block (see Parameter).
      Check(container.Parameter(key, n) == (key.empty() ? std::string() : ScannedParameter(blocks, key, n)));
    }
  }
  const std::vector<std::string>& table = container.Sections().headerTable;
  for (std::size_t index = 0; index <= container.CommandCount() + 1; ++index) {
    Check(container.CommandHeader(index) == ScannedHeader(table, index));
  }
  for (std::size_t index = 0; index <= container.CommandCount(); ++index) {
    (void)container.Name(index);
    (void)container.Guid(index);
    (void)container.Disabled(index);
    (void)container.MediaFolder(index);
    (void)container.IsPluginCommand(container.Name(index));
  }
}

void CheckContainer(std::string_view bytes) {
  std::optional<TScriptContainer> container;
  try {
    container = TScriptContainer::Parse(bytes);
  } catch (const corvane::TContainerError&) {
    return;
  }
  const std::string serialized = container->Serialize();
  // Serialize is one-to-one, so equal bytes mean equal sections.
  Check(TScriptContainer::Parse(serialized).Serialize() == serialized);
  CheckLookups(*container);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> file(data, size);
  if (const std::optional<std::size_t> end = corvane::FindImageEnd(file)) {
    Check(*end <= size);
    const std::optional<std::string_view> appended = corvane::AppendedData(file);
    // The appended bytes lie after the image, less a code signature at either end.
    Check(appended && appended->data() >= reinterpret_cast<const char*>(data) + *end &&
          appended->data() + appended->size() <= reinterpret_cast<const char*>(data) + size);
    CheckContainer(*appended);
  }
  CheckContainer(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
