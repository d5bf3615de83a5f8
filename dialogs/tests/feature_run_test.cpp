// The feature commands as a script reaches them: substituted lines, the
// translatable names and descriptions, files named by variables.
#include <gtest/gtest.h>

#include <map>

#include "dialogs/feature_commands.h"
#include "dialogs/tests/temp_folder.h"
#include "script/tests/script_fixture.h"

namespace corvane {
namespace {

using testing::TLine;

// Translates (line, slot) pairs once LANGUAGE is set.
class TLineTranslator : public TTranslator {
public:
  void Refresh(TRunContext& run) override { active_ = !run.Store().Find("LANGUAGE").value_or("").empty(); }
  std::optional<std::string> TranslateCommandText(std::string_view text, std::string_view guid,
                                                  int slot) const override {
    if (!active_) return std::nullopt;
    const auto found = texts.find({std::string(guid), slot});
    return found == texts.end() ? std::string(text) : found->second;
  }
  std::map<std::pair<std::string, int>, std::string> texts;

private:
  bool active_ = false;
};

std::string GuidOfLine(std::size_t index) {
  return testing::MakeSections(std::vector<TLine>(index + 1)).commandGuids[index];
}

TEST(FeatureCommandsInARun, NamesAndDescriptionsAreTranslated) {
  for (const char* language : {"", "Deutsch"}) {
    testing::TScriptRunner runner({.overrides = {{"LANGUAGE", language}}});
    TFeatureModel model;
    RegisterFeatureCommands(runner.commands, model);
    TLineTranslator translator;
    translator.texts[{GuidOfLine(1), 1}] = "$WHAT$ (de)";
    translator.texts[{GuidOfLine(1), 2}] = "Handbuch";
    runner.translator = &translator;
    runner.Run({{"Set Variable", {"WHAT", "Docs"}},
                {"Define Component", {"$WHAT$", "FALSE", "Manuals"}},
                {"Set Component Space", {"$WHAT$", "4096"}},
                {"Set Component State", {"$WHAT$", "TRUE"}},
                {"Get Component State", {"$WHAT$", "state"}}});
    const bool translated = *language != '\0';
    ASSERT_EQ(model.Components().size(), 1u);
    EXPECT_EQ(model.Components()[0].name, translated ? "Docs (de)" : "Docs");
    EXPECT_EQ(model.Components()[0].description, translated ? "Handbuch" : "Manuals");
    // The other commands name the untranslated component: only with their
    // own translations would they find the translated one.
    EXPECT_EQ(model.Size("Docs"), translated ? 0 : 4096);
    EXPECT_EQ(runner.Value("STATE"), translated ? "FALSE" : "TRUE");
  }
}

TEST(FeatureCommandsInARun, SelectionsSavedAndLoadedThroughVariables) {
  test::TTempFolder folder;
  testing::TScriptRunner runner({.overrides = {{"FILE", folder.File("sel.dat")}}});
  TFeatureModel model;
  RegisterFeatureCommands(runner.commands, model);
  runner.Run({{"Define Component", {"Docs", "TRUE", ""}},
              {"Set Variable", {"TARGETDIR", "C:\\Acme\\"}},
              {"Save Feature Selections", {"$FILE$"}},
              {"Set Component State", {"Docs", "FALSE"}},
              {"Set Variable", {"TARGETDIR", "C:\\Other\\"}},
              {"Load Feature Selections", {"$FILE$"}},
              {"Get Component State", {"Docs", "DOCS"}}});
  EXPECT_EQ(runner.Value("DOCS"), "TRUE");
  EXPECT_EQ(runner.Value("TARGETDIR"), "C:\\Acme\\");
  EXPECT_EQ(test::TTempFolder::Read(folder.File("sel.dat")), "Docs\r\n$\r\nTRUE\r\n$\r\nC:\\Acme\\\r\nFALSE\r\n\r\n");
}

}  // namespace
}  // namespace corvane
