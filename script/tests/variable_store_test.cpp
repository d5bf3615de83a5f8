#include "script/variable_store.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "script/engine_context.h"
#include "script/script_error.h"

namespace corvane {
namespace {

std::string ErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const TScriptError& error) {
    return error.what();
  }
  return "no error";
}

class VariableStore : public ::testing::Test {
protected:
  TEngineContext engine{TStartOptions{}};
  TVariableStore& store = engine.store;
};

TEST_F(VariableStore, NamesIgnoreLetterCaseAndKeepDefinitionOrder) {
  store.Define("TITLE", "App", "Initialization");
  store.Define("TARGETDIR", "C:\\App", "Initialization");
  store.Define("title", "Other", "Set Variable Action");  // defines nothing new: assigns
  EXPECT_TRUE(store.Exists("Title"));
  EXPECT_EQ(store.Get("tItLe"), "Other");
  EXPECT_EQ(store.Variables(), (std::vector<TVariable>{{"TITLE", "Other"}, {"TARGETDIR", "C:\\App"}}));
  EXPECT_FALSE(store.Exists("C:\\App"));  // a value names no variable
  store.Define("", "x", "Initialization");
  EXPECT_EQ(store.Variables().size(), 2u);
}

TEST_F(VariableStore, UndefinedVariablesRaiseTheTableMessagesWithTheNameAsGiven) {
  EXPECT_EQ(ErrorOf([&] { store.Get("Nowhere"); }), "Attempting to get value of undefined variable Nowhere");
  EXPECT_EQ(ErrorOf([&] { store.Set("nowhere", "x", "Set Variable Action"); }),
            "Attempting to set value of undefined variable nowhere");
  // The lock is free again after the error.
  store.Define("A", "1", "Initialization");
  EXPECT_EQ(store.Get("A"), "1");

  std::string file(8, '\n');
  engine.messages.LoadMessageFile(file + "Variable nicht definiert: \n");
  EXPECT_EQ(ErrorOf([&] { store.Get("X"); }), "Variable nicht definiert: X");
}

TEST_F(VariableStore, AbortDrivesTheCancelFlag) {
  store.Define("ABORT", "FALSE", "Initialization");
  struct Case {
    const char* value;
    bool cancel;
  } cases[] = {{"TRUE", true}, {"yes", false}, {"true", true}, {"1", false}, {"-1", true}, {"", false}};
  for (const Case& c : cases) {
    store.Set("abort", c.value, "Set Variable Action");
    EXPECT_EQ(engine.flags.cancel.load(), c.cancel) << c.value;
  }
}

TEST(VariableStoreOverrides, SilentRunsKeepCommandLineValues) {
  struct Case {
    bool silent;
    const char* phase;
    const char* expected;
  } cases[] = {
      {true, "Set Variable Action", "C:\\FromCommandLine"},
      {false, "Set Variable Action", "C:\\FromScript"},
      {true, "Inject Override Command Line", "C:\\FromScript"},
  };
  for (const Case& c : cases) {
    TEngineContext engine({.silent = c.silent, .overrides = {{"targetdir", "C:\\FromCommandLine"}}});
    engine.store.Define("TARGETDIR", "C:\\FromCommandLine", kPhaseInjectOverride);
    engine.store.Set("TargetDir", "C:\\FromScript", c.phase);
    EXPECT_EQ(engine.store.Get("TARGETDIR"), c.expected) << c.silent << c.phase;
  }
}

TEST_F(VariableStore, SubstitutionEdgeCases) {
  store.Define("TITLE", "App", "Initialization");
  store.Define("A", "$B$x", "Initialization");
  store.Define("B", "y", "Initialization");
  store.Define("LINES", "one$NEWLINE$two", "Initialization");
  store.Define("EARLY", "[$LATE$]", "Initialization");
  store.Define("LATE", "$B$!", "Initialization");
  struct Case {
    const char* text;
    const char* expected;
  } cases[] = {
      {"$title$ $UNDEFINED$", "App $UNDEFINED$"},
      {"$A$", "yx"},
      {"$LINES$", "one\r\ntwo"},
      {"a$newline$b", "a\r\nb"},
      {"Price: 5$ or 6 $", "Price: 5$ or 6 $"},
      {"$", "$"},
      {"$$TITLE$$", "$App$"},
      {"$EARLY$", "[y!]"},
      {"", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(store.Substitute(c.text), c.expected) << c.text;
}

TEST_F(VariableStore, NormalisedSubstitutionKeepsAUncPrefix) {
  store.Define("TARGETDIR", "C:\\Program Files\\", "Initialization");
  store.Define("SERVER", "\\\\files", "Initialization");
  EXPECT_EQ(store.SubstituteNormalised("$TARGETDIR$\\App"), "C:\\Program Files\\App");
  EXPECT_EQ(store.SubstituteNormalised("$SERVER$\\\\share"), "\\\\files\\share");
}

TEST_F(VariableStore, ResolveReference) {
  store.Define("B", "y", "Initialization");
  store.Define("A", "$B$!", "Initialization");
  struct Case {
    const char* text;
    const char* resolved;
    const char* orEmpty;
  } cases[] = {
      {"$A$", "y!", "y!"}, {"a", "y!", "y!"}, {"$MISSING$", "$ZOLTNX$", ""}, {"MISSING", "$ZOLTNX$", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(store.ResolveReference(c.text), c.resolved) << c.text;
    EXPECT_EQ(store.ResolveReferenceOrEmpty(c.text), c.orEmpty) << c.text;
  }
}

TEST_F(VariableStore, ImportReplacesTheWholeStore) {
  store.Define("OLD", "1", "Initialization");
  store.Define("KEPT", "2", "Initialization");
  const std::vector<TVariable> tricky = {
      {"KEPT", "a, \"b\"\r\nc"}, {"NEW", " x "}, {"EMPTY", ""}, {"COMMA", ","}};
  TEngineContext other{TStartOptions{}};
  for (const TVariable& variable : tricky) other.store.Define(variable.name, variable.value, "Initialization");
  store.Import(other.store.Export());
  EXPECT_EQ(store.Variables(), tricky);
  EXPECT_FALSE(store.Exists("OLD"));
  EXPECT_EQ(store.Substitute("$new$|$KEPT$"), " x |a, \"b\"\r\nc");
  store.Clear();
  EXPECT_TRUE(store.Variables().empty());
  EXPECT_FALSE(store.Exists("KEPT"));
}

// A worker replacing the store while the main thread reads and writes it.
TEST_F(VariableStore, ConcurrentUseStaysConsistent) {
  store.Define("COUNTER", "0", "Initialization");
  const std::string exported = store.Export();
  std::atomic<bool> stop{false};
  std::thread worker([&] {
    while (!stop) store.Import(exported);
  });
  for (int i = 0; i < 2000; ++i) {
    store.Define("COUNTER", std::to_string(i), "Set Variable Action");
    const std::string value = store.Substitute("$COUNTER$");
    EXPECT_TRUE(value == "0" || value == std::to_string(i)) << value;
  }
  stop = true;
  worker.join();
}

}  // namespace
}  // namespace corvane
