// The command cycle and substitution over a store of 300 variables.
#include <benchmark/benchmark.h>

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

namespace {

using namespace corvane;

constexpr int kStoreSize = 300;
constexpr int kWorkVariables = 50;
constexpr int kScriptLines = 5000;
constexpr int kRounds = 4;
constexpr int kConstantsUsed = 200;  // fewer than the store holds

std::string Constant(int n) { return "C" + std::to_string(n); }
std::string Work(int n) { return "W" + std::to_string(n % kWorkVariables); }

// The predefined variables, then constants and work variables up to kStoreSize.
class TBenchInitialiser : public TRunInitialiser {
public:
  void Prepare(TRunContext& run) override { setupInit_.Prepare(run); }
  bool Complete(TRunContext& run) override {
    setupInit_.Complete(run);
    TVariableStore& store = run.Store();
    store.Define("ROUND", "", "Initialization");
    for (int n = 0; n < kWorkVariables; ++n) store.Define(Work(n), "", "Initialization");
    for (int n = 0; static_cast<int>(store.Variables().size()) < kStoreSize; ++n) {
      store.Define(Constant(n), "value-" + std::to_string(n), "Initialization");
    }
    return true;
  }

private:
  testing::TFakeSetupSystem system_;
  testing::TFakeProductStart product_;
  TSetupInit setupInit_{{.system = system_, .product = product_}};
};

class TScriptWriter {
public:
  void Add(std::string name, std::vector<std::string> parameters) {
    const std::string number = std::to_string(sections.commandNames.size());
    const std::string guid = "{B0000000-0000-0000-0000-" + std::string(12 - number.size(), '0') + number + "}";
    sections.commandNames.push_back(std::move(name));
    sections.commandGuids.push_back(guid);
    sections.disabledMarks.emplace_back();
    sections.mediaFolders.emplace_back();
    sections.parameterBlocks.push_back(guid);
    sections.parameterBlocks.insert(sections.parameterBlocks.end(), parameters.begin(), parameters.end());
  }
  std::size_t Size() const { return sections.commandNames.size(); }
  TContainerSections sections;
};

// Blocks of Set Variable / If / Else / End over the store, run kRounds times
// by a GoTo Label loop on a counter.
TScriptContainer MakeScript() {
  TScriptWriter script;
  script.Add("Label", {"TOP"});
  for (int block = 0; script.Size() + 10 + 5 <= kScriptLines; ++block) {
    const std::string a = Constant(block * 7 % kConstantsUsed);
    const std::string b = Constant(block * 13 % kConstantsUsed);
    const std::string pair = "$" + a + "$-$" + b + "$";
    script.Add("Set Variable", {Work(block), pair});
    script.Add("If", {Work(block), "0", pair, "FALSE"});
    script.Add("Set Variable", {Work(block + 1), "$" + Work(block) + "$ taken"});
    script.Add("Else", {});
    script.Add("Set Variable", {Work(block + 1), "not taken"});
    script.Add("End", {});
    script.Add("If", {a, "2", "value-5", "FALSE"});
    script.Add("Set Variable", {Work(block + 2), "$" + b + "$"});
    script.Add("End", {});
    script.Add("Comment", {"block " + std::to_string(block)});
  }
  script.Add("Set Variable", {"ROUND", "$ROUND$x"});
  script.Add("If", {"ROUND", "0", std::string(kRounds, 'x'), "TRUE"});
  script.Add("GoTo Label", {"TOP"});
  script.Add("End", {});
  while (script.Size() < kScriptLines) script.Add("Comment", {});
  return TScriptContainer(std::move(script.sections));
}

class TCycleCounter : public TRunHook {
public:
  void BeforeCommand(TRunContext&) override { ++cycles; }
  void EndOfRun(TRunContext&) noexcept override {}
  long long cycles = 0;
};

void CommandCycle(benchmark::State& state) {
  TEngineContext engine{TStartOptions{}};
  testing::TFakeHost host;
  TCommandTable commands;
  RegisterCoreCommands(commands);
  TBenchInitialiser initialiser;
  TCycleCounter counter;
  const TScriptContainer container = MakeScript();
  TInterpreter interpreter(engine, host, commands, {.initialiser = initialiser, .hooks = {&counter}});
  for (auto _ : state) {
    interpreter.Run(container, testing::kTestPackagePath);
  }
  if (!host.boxes.empty() || engine.store.Get("ROUND") != std::string(kRounds, 'x') ||
      !engine.store.Exists(Constant(kConstantsUsed - 1))) {
    state.SkipWithError("the script did not run to its end");
  }
  state.counters["commands/s"] = benchmark::Counter(static_cast<double>(counter.cycles), benchmark::Counter::kIsRate);
  state.counters["commands/run"] = static_cast<double>(counter.cycles) / static_cast<double>(state.iterations());
  state.counters["variables"] = static_cast<double>(engine.store.Variables().size());
}
BENCHMARK(CommandCycle)->Unit(benchmark::kMillisecond);

// 200 characters with 10 tokens spread over the store.
void Substitution(benchmark::State& state) {
  TEngineContext engine{TStartOptions{}};
  for (int n = 0; n < kStoreSize; ++n) engine.store.Define(Constant(n), "value-" + std::to_string(n), "Initialization");
  std::string text;
  for (int token = 0; token < 10; ++token) {
    text += "Some text " + std::to_string(token) + " $" + Constant(token * 31 % kStoreSize) + "$ ";
  }
  text.resize(200, '.');
  if (engine.store.Substitute(text).find('$') != std::string::npos) {
    state.SkipWithError("a token was cut off");
  }
  for (auto _ : state) {
    benchmark::DoNotOptimize(engine.store.Substitute(text));
  }
  state.counters["substitutions/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Substitution);

}  // namespace
