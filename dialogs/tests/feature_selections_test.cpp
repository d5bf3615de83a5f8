#include "dialogs/feature_selections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dialogs/tests/fake_variables.h"
#include "dialogs/tests/temp_folder.h"

namespace corvane {
namespace {

using test::TFakeVariables;
using test::TTempFolder;
using Lines = std::vector<std::string>;
using Variables = std::array<std::string, 3>;

TFeatureModel TwoComponents() {
  TFeatureModel model;
  model.Define("Program", "", true);
  model.Define("Program\\Help", "", false);
  return model;
}

TEST(SelectionsFile, FormatWritesNamesStatesAndVariablesWithCrLf) {
  const Variables variables = {"C:\\Program Files\\$TITLE$\\", "TRUE", "My Product"};
  const std::string lines =
      "Program\r\nProgram\\Help\r\n$\r\nTRUE\r\nFALSE\r\n$\r\nC:\\Program Files\\$TITLE$\\\r\nTRUE\r\nMy Product\r\n";
  EXPECT_EQ(FormatSelections(TwoComponents(), variables, std::nullopt), lines);
  EXPECT_EQ(FormatSelections(TwoComponents(), variables, "C:\\DOCUME~1\\data\\"), lines + "C:\\DOCUME~1\\data\\\r\n");
  EXPECT_EQ(FormatSelections(TFeatureModel(), {"", "", ""}, std::nullopt), "$\r\n$\r\n\r\n\r\n\r\n");
}

struct TParseCase {
  const char* label;
  const char* text;
  Lines names;
  Lines states;
  std::optional<Variables> variables;
};

void PrintTo(const TParseCase& c, std::ostream* out) { *out << c.label; }

class SelectionsParse : public testing::TestWithParam<TParseCase> {};

TEST_P(SelectionsParse, ReadsWhatTheFileHolds) {
  const TSavedSelections saved = ParseSelections(GetParam().text);
  EXPECT_EQ(saved.names, GetParam().names);
  EXPECT_EQ(saved.states, GetParam().states);
  EXPECT_EQ(saved.variables, GetParam().variables);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SelectionsParse,
    testing::Values(
        TParseCase{"Complete", "A\r\nB\r\n$\r\nTRUE\r\nFALSE\r\n$\r\nC:\\T\\\r\nFALSE\r\nMenu\r\nC:\\DATA~1\\\r\n",
                   {"A", "B"}, {"TRUE", "FALSE"}, Variables{"C:\\T\\", "FALSE", "Menu"}},
        TParseCase{"LineFeedsOnly", "A\n$\nTRUE\n$\nT\nA\nM", {"A"}, {"TRUE"}, Variables{"T", "A", "M"}},
        TParseCase{"EndsBeforeTheVariables", "A\r\n$\r\nTRUE\r\n$\r\nT\r\n", {"A"}, {"TRUE"}, Variables{"T", "", ""}},
        TParseCase{"EmptyVariableLines", "A\r\n$\r\nTRUE\r\n$\r\n\r\n\r\nM\r\n", {"A"}, {"TRUE"},
                   Variables{"", "", "M"}},
        TParseCase{"NoSecondSeparator", "A\r\nB\r\n$\r\nTRUE\r\n", {"A", "B"}, {"TRUE"}, std::nullopt},
        TParseCase{"NoSeparatorAtAll", "A\r\nB\r\n", {"A", "B"}, {}, std::nullopt},
        TParseCase{"Empty", "", {}, {}, std::nullopt}),
    [](const testing::TestParamInfo<TParseCase>& test) { return test.param.label; });

TEST(SelectionsFile, SaveThenLoadRestoresStatesAndVariables) {
  TTempFolder folder;
  const std::string path = folder.File("setup.dat");
  TFakeVariables saved = {{"TARGETDIR", "C:\\App\\"}, {"ALLUSERS", "FALSE"}, {"STARTMENU", "App"}};
  ASSERT_TRUE(SaveSelections(TwoComponents(), path, saved, "C:\\DATA~1\\"));

  TFeatureModel model;
  model.Define("Program", "", false);
  model.Define("program\\help", "", true);
  model.Define("Other", "", true);
  TFakeVariables loaded = {{"TARGETDIR", "D:\\"}};
  LoadSelections(model, path, loaded, TSelectionsLoad::Merge);

  EXPECT_TRUE(model.IsSelected("Program"));
  EXPECT_FALSE(model.IsSelected("Program\\Help"));
  EXPECT_TRUE(model.IsSelected("Other"));
  EXPECT_EQ(model.Components().size(), 3u);
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"TARGETDIR", "C:\\App\\"}, {"ALLUSERS", "FALSE"}, {"STARTMENU", "App"}};
  for (const auto& [name, value] : expected) {
    const TFakeVariables::TEntry* entry = loaded.Find(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_EQ(entry->value, value);
    EXPECT_EQ(entry->phase, kLoadSelectionsPhase);
  }
}

TEST(SelectionsFile, InstanceLoadAppendsTheSavedComponentsAndAllowsTheirSize) {
  TTempFolder folder;
  const std::string path = folder.File("setup.dat");
  TTempFolder::Write(path, "ZOLT-PREDEF-COMPONENT\r\nDocs\r\n$\r\nTRUE\r\nFALSE\r\n$\r\nC:\\App\\\r\nTRUE\r\nApp\r\nC:\\D\\\r\n");
  const Lines sizes = {"ZOLT-PREDEF-COMPONENT", "1984470", "Docs", "1000"};
  TFeatureModel model(sizes);
  TFakeVariables variables;
  LoadSelections(model, path, variables, TSelectionsLoad::Append);
  model.SetInstalledSize(model.SelectedSize());

  ASSERT_EQ(model.Components().size(), 2u);
  EXPECT_EQ(model.Components()[1].description, "");
  EXPECT_EQ(model.InstalledSize(), 1984470);
  EXPECT_EQ(variables.Value("ALLUSERS"), "TRUE");

  // The script's later definition neither duplicates nor reselects it.
  model.Define("Docs", "Manuals", true);
  EXPECT_EQ(model.Components().size(), 2u);
  EXPECT_FALSE(model.IsSelected("Docs"));
  EXPECT_EQ(model.Description("Docs"), "Manuals");
}

TEST(SelectionsFile, FileWithoutVariablesLeavesThemAlone) {
  TTempFolder folder;
  const std::string path = folder.File("short.dat");
  TTempFolder::Write(path, "Docs\r\n$\r\nFALSE\r\n");
  TFeatureModel model;
  model.Define("Docs", "", true);
  TFakeVariables variables = {{"TARGETDIR", "C:\\Keep\\"}};
  LoadSelections(model, path, variables, TSelectionsLoad::Merge);

  EXPECT_FALSE(model.IsSelected("Docs"));
  EXPECT_EQ(variables.Value("TARGETDIR"), "C:\\Keep\\");
  EXPECT_EQ(variables.Count(), 1u);
}

TEST(SelectionsFile, MissingFileChangesNothingAndUnwritableFileIsReported) {
  TTempFolder folder;
  TFeatureModel model = TwoComponents();
  TFakeVariables variables;
  LoadSelections(model, folder.File("absent.dat"), variables, TSelectionsLoad::Append);
  EXPECT_EQ(model.Components().size(), 2u);
  EXPECT_EQ(variables.Count(), 0u);

  EXPECT_FALSE(SaveSelections(model, folder.File("no-such-folder/setup.dat"), variables));
}

}  // namespace
}  // namespace corvane
