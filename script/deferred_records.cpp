#include "script/deferred_records.h"

#include "launcher/script_container.h"

namespace corvane {

std::string EncodeNewlines(std::string_view text) {
  constexpr std::string_view kMarker = "$NEWLINE$";
  std::string encoded;
  encoded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      encoded += kMarker;
      ++i;
    } else {
      encoded += text[i];
    }
  }
  return encoded;
}

void TDeferredRecords::Record(std::string_view name, std::string_view value) {
  std::string encodedName = EncodeNewlines(name);
  std::string encodedValue = EncodeNewlines(value);
  packageQueue.emplace_back(encodedName, encodedValue);
  recordedProperties.push_back(std::move(encodedName));
  recordedProperties.push_back(std::move(encodedValue));
}

void TDeferredRecords::RecordInitialActivations(const TScriptContainer& container) {
  for (std::size_t index = 0; index < container.CommandCount(); ++index) {
    const std::string header = container.CommandHeader(index);
    if (!header.empty()) {
      Record("A" + header, "FALSE");
    }
  }
}

}  // namespace corvane
