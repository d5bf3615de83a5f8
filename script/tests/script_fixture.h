// Scripts written as lists of commands, and a run of one with a fake host.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "launcher/script_container.h"
#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/engine_context.h"
#include "script/interpreter.h"
#include "script/run_context.h"
#include "script/setup_init.h"
#include "script/tests/fake_host.h"
#include "script/tests/fake_setup_system.h"

namespace corvane::testing {

struct TLine {
  std::string name;
  std::vector<std::string> parameters;
  bool disabled = false;
};

inline TLine Disabled(TLine line) {
  line.disabled = true;
  return line;
}
inline TLine If(std::string variable, std::string op, std::string value, std::string negate = "FALSE") {
  return {"If", {std::move(variable), std::move(op), std::move(value), std::move(negate)}};
}
inline TLine ElseIf(std::string variable, std::string op, std::string value, std::string negate = "FALSE") {
  return {"Else If", {std::move(variable), std::move(op), std::move(value), std::move(negate)}};
}
inline TLine Else() { return {"Else", {}}; }
inline TLine End() { return {"End", {}}; }
inline TLine Set(std::string name, std::string value) { return {"Set Variable", {std::move(name), std::move(value)}}; }
inline TLine Label(std::string name) { return {"Label", {std::move(name)}}; }
inline TLine GoTo(std::string name) { return {"GoTo Label", {std::move(name)}}; }
// A command of the tests' own that appends its substituted line 1 to TRACE.
inline TLine Trace(std::string mark) { return {"Trace", {std::move(mark)}}; }

// GUIDs "{00000000-0000-0000-0000-00000000000N}", one block per line.
inline TContainerSections MakeSections(const std::vector<TLine>& lines, TContainerSections sections = {}) {
  for (std::size_t i = 0; i < lines.size(); ++i) {
    std::string number = std::to_string(i);
    const std::string guid = "{00000000-0000-0000-0000-" + std::string(12 - number.size(), '0') + number + "}";
    sections.commandNames.push_back(lines[i].name);
    sections.commandGuids.push_back(guid);
    sections.disabledMarks.push_back(lines[i].disabled ? "C" : "");
    sections.mediaFolders.emplace_back();
    sections.parameterBlocks.push_back(guid);
    sections.parameterBlocks.insert(sections.parameterBlocks.end(), lines[i].parameters.begin(),
                                    lines[i].parameters.end());
  }
  return sections;
}

class TScriptRunner {
public:
  explicit TScriptRunner(TStartOptions options = {}) : engine(std::move(options)) {
    RegisterCoreCommands(commands);
    commands.Register("Trace", [](TRunContext& run) {
      const std::string trace = run.Store().Find("TRACE").value_or("");
      run.StoreResult("TRACE", trace + run.SubstitutedLine(1));
    });
  }

  int Run(const std::vector<TLine>& lines, TContainerSections sections = {}) {
    const TScriptContainer container(MakeSections(lines, std::move(sections)));
    TInterpreter interpreter(engine, host, commands,
                             {.initialiser = initialiser, .validator = validator, .translator = translator,
                              .hooks = hooks});
    return interpreter.Run(container, kTestPackagePath);
  }

  std::string Value(std::string_view name) const { return engine.store.Find(name).value_or("<undefined>"); }
  std::string Trace() const { return engine.store.Find("TRACE").value_or(""); }
  // The message of the one runtime error box, or empty.
  std::string ErrorShown() const {
    for (const TFakeHost::TBox& box : host.boxes) {
      if (box.style == kBoxIconError) {
        return box.text;
      }
    }
    return {};
  }

  TEngineContext engine;
  TFakeHost host;
  TCommandTable commands;
  TFakeSetupSystem system;
  TFakeProductStart product;
  TSetupInit initialiser{{.system = system, .product = product}};
  TScriptValidator* validator = nullptr;
  TTranslator* translator = nullptr;
  std::vector<TRunHook*> hooks;
};

inline std::string RuntimeError(std::size_t line, std::string_view message) {
  return "Runtime error in setup script:\r\rLine " + std::to_string(line) + ": " + std::string(message);
}

}  // namespace corvane::testing
