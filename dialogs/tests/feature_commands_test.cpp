#include "dialogs/feature_commands.h"

#include <gtest/gtest.h>

#include "dialogs/tests/fake_variables.h"
#include "dialogs/tests/temp_folder.h"

namespace corvane {
namespace {

using test::TFakeVariables;
using test::TTempFolder;

TEST(FeatureCommands, DefineReadsLineTwoByTheBooleanRule) {
  TFeatureModel model;
  DefineComponentCommand(model, "A", "true", "first");
  DefineComponentCommand(model, "B", "-1", "");
  DefineComponentCommand(model, "C", "yes", "");
  EXPECT_TRUE(model.IsSelected("A"));
  EXPECT_EQ(model.Description("A"), "first");
  EXPECT_TRUE(model.IsSelected("B"));
  EXPECT_FALSE(model.IsSelected("C"));
}

TEST(FeatureCommands, GetComponentStateStoresTrueOrFalseWhenAVariableIsNamed) {
  TFeatureModel model;
  DefineComponentCommand(model, "Docs", "TRUE", "");
  TFakeVariables variables;

  GetComponentStateCommand(model, "docs", "HAVE_DOCS", variables);
  GetComponentStateCommand(model, "Missing", "HAVE_MISSING", variables);
  GetComponentStateCommand(model, "Docs", "", variables);
  EXPECT_EQ(variables.Value("HAVE_DOCS"), "TRUE");
  EXPECT_EQ(variables.Find("HAVE_DOCS")->phase, "result");
  EXPECT_EQ(variables.Value("HAVE_MISSING"), "FALSE");
  EXPECT_EQ(variables.Count(), 2u);

  SetComponentStateCommand(model, "DOCS", "FALSE");
  SetComponentStateCommand(model, "Missing", "TRUE");
  GetComponentStateCommand(model, "Docs", "HAVE_DOCS", variables);
  EXPECT_EQ(variables.Value("HAVE_DOCS"), "FALSE");
  EXPECT_EQ(model.Components().size(), 1u);
}

struct TSpaceCase {
  const char* size;
  std::int64_t stored;
};

void PrintTo(const TSpaceCase& c, std::ostream* out) { *out << '"' << c.size << '"'; }

class SetComponentSpace : public testing::TestWithParam<TSpaceCase> {};

TEST_P(SetComponentSpace, StoresOnlyA64BitInteger) {
  const std::vector<std::string> sizes = {"Docs", "100"};
  TFeatureModel model(sizes);
  DefineComponentCommand(model, "Docs", "TRUE", "");
  SetComponentSpaceCommand(model, "Docs", GetParam().size);
  EXPECT_EQ(model.Size("Docs"), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Sizes, SetComponentSpace,
                         testing::Values(TSpaceCase{"2048", 2048}, TSpaceCase{"-5", -5}, TSpaceCase{"+7", 7},
                                         TSpaceCase{"12abc", 100}, TSpaceCase{"", 100}, TSpaceCase{" 5", 100},
                                         TSpaceCase{"-", 100}, TSpaceCase{"+-5", 100},
                                         TSpaceCase{"9223372036854775807", 9223372036854775807},
                                         TSpaceCase{"9223372036854775808", 100}));

TEST(FeatureCommands, SetComponentSpaceIgnoresUnknownComponents) {
  TFeatureModel model;
  SetComponentSpaceCommand(model, "Ghost", "10");
  DefineComponentCommand(model, "Ghost", "TRUE", "");
  EXPECT_EQ(model.Size("Ghost"), 0);
}

TEST(FeatureCommands, SavedSelectionsSurviveARedefinitionAfterLoading) {
  TTempFolder folder;
  const std::string path = folder.File("choice.txt");
  TFeatureModel first;
  DefineComponentCommand(first, "Docs", "FALSE", "");
  TFakeVariables variables = {{"TARGETDIR", "C:\\App\\"}, {"ALLUSERS", "TRUE"}, {"STARTMENU", "App"}};
  SaveFeatureSelectionsCommand(first, path, variables);
  EXPECT_EQ(TTempFolder::Read(path), "Docs\r\n$\r\nFALSE\r\n$\r\nC:\\App\\\r\nTRUE\r\nApp\r\n");

  TFeatureModel second;
  DefineComponentCommand(second, "Docs", "TRUE", "");
  LoadFeatureSelectionsCommand(second, path, variables);
  DefineComponentCommand(second, "Docs", "TRUE", "Manuals");
  EXPECT_FALSE(second.IsSelected("Docs"));

  LoadFeatureSelectionsCommand(second, folder.File("absent.txt"), variables);
  EXPECT_EQ(variables.Value("TARGETDIR"), "C:\\App\\");
}

}  // namespace
}  // namespace corvane
