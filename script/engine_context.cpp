#include "script/engine_context.h"

namespace corvane {
namespace {

std::vector<std::string> OverrideNames(const TStartOptions& options) {
  std::vector<std::string> names;
  for (const auto& [name, value] : options.overrides) {
    names.push_back(name);
  }
  return names;
}

}  // namespace

TEngineContext::TEngineContext(TStartOptions startOptions)
    : options(std::move(startOptions)), store(messages, flags, OverrideNames(options)) {
  flags.silent = options.silent;
}

}  // namespace corvane
