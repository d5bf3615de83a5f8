#include "script/command_table.h"

#include <utility>

namespace corvane {

void TCommandTable::Register(std::string name, TCommandHandler handler) {
  handlers_.insert_or_assign(std::move(name), std::move(handler));
}

void TCommandTable::RegisterPluginHandler(TCommandHandler handler) { pluginHandler_ = std::move(handler); }

const TCommandHandler* TCommandTable::Resolve(std::string_view name, bool isPluginCommand) const {
  if (isPluginCommand) {
    return pluginHandler_ ? &pluginHandler_ : nullptr;
  }
  const auto found = handlers_.find(name);
  return found == handlers_.end() ? nullptr : &found->second;
}

}  // namespace corvane
