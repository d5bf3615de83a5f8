// The dispatch table: command name -> handler. A name in the script's
// plug-in list goes to the plug-in handler before any built-in name is
// looked at; other names are compared exactly; a name without a handler is
// skipped, so a command is simply absent until its part registers it.
//
// A part adds its commands with a registration function of its own, reads
// parameter lines through the run, and stores results by the run's result
// variable convention; for a made-up command:
//
//   void RegisterTextCommands(TCommandTable& table) {
//     table.Register("Reverse Text", [](TRunContext& run) {
//       std::string text = run.SubstitutedLine(1);
//       std::ranges::reverse(text);
//       run.StoreResult(NamedVariable(run.Line(2)), text);
//     });
//   }
//
// The start-up sequence fills one table (RegisterCoreCommands, then each
// part's registration) and hands it to TInterpreter.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace corvane {

class TRunContext;
using TCommandHandler = std::function<void(TRunContext&)>;

class TCommandTable {
public:
  // Replaces an earlier handler of the same name.
  void Register(std::string name, TCommandHandler handler);
  void RegisterPluginHandler(TCommandHandler handler);

  // The handler for a script line's command; nullptr: skip it.
  const TCommandHandler* Resolve(std::string_view name, bool isPluginCommand) const;

private:
  struct TNameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const noexcept { return std::hash<std::string_view>{}(name); }
  };

  std::unordered_map<std::string, TCommandHandler, TNameHash, std::equal_to<>> handlers_;
  TCommandHandler pluginHandler_;
};

}  // namespace corvane
