#include "dialogs/feature_model.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

namespace corvane {
namespace {

using Lines = std::vector<std::string>;

TEST(FeatureModel, DefineAddsComponentsInOrderAndAnUnsizedNameToTheSizeList) {
  const Lines sizes = {"Program", "4096"};
  TFeatureModel model(sizes);
  model.Define("Program", "Main files", true);
  model.Define("Program\\Help", "", false);

  ASSERT_EQ(model.Components().size(), 2u);
  EXPECT_EQ(model.Components()[0].name, "Program");
  EXPECT_EQ(model.Components()[0].state, "TRUE");
  EXPECT_EQ(model.Components()[1].state, "FALSE");
  EXPECT_EQ(model.Size("program"), 4096);
  EXPECT_EQ(model.Size("Program\\Help"), 0);
  // The appended (name, 0) entry is a real entry: a later size replaces it.
  ASSERT_TRUE(model.SetSize("Program\\Help", 10));
  EXPECT_EQ(model.Size("Program\\Help"), 10);
  EXPECT_EQ(model.Description("PROGRAM"), "Main files");
}

TEST(FeatureModel, RedefinitionReplacesTheDescriptionButKeepsTheState) {
  TFeatureModel model;
  model.Define("Tools", "old", false);
  model.Define("TOOLS", "new", true);

  ASSERT_EQ(model.Components().size(), 1u);
  EXPECT_EQ(model.Components()[0].name, "Tools");
  EXPECT_EQ(model.Description("tools"), "new");
  EXPECT_FALSE(model.IsSelected("Tools"));
}

TEST(FeatureModel, UnknownNamesAreIgnoredAndReadAsNotSelected) {
  const Lines sizes = {"Ghost", "77"};
  TFeatureModel model(sizes);
  model.Define("Real", "", true);

  EXPECT_FALSE(model.SetSelected("Ghost", true));
  EXPECT_FALSE(model.SetSize("Ghost", 5));
  EXPECT_FALSE(model.IsSelected("Ghost"));
  EXPECT_EQ(model.Size("Ghost"), 0);  // sized in the list, but no component
  EXPECT_EQ(model.Description("Ghost"), "");
  EXPECT_EQ(model.Components().size(), 1u);
  EXPECT_TRUE(model.SetSelected("real", false));
  EXPECT_FALSE(model.IsSelected("Real"));
}

TEST(FeatureModel, StatesReadByTheBooleanRule) {
  TFeatureModel model;
  const Lines names = {"A", "B", "C", "D"};
  const Lines states = {"true", "-1", "1", "yes"};
  model.Append(names, states);
  EXPECT_TRUE(model.IsSelected("A"));
  EXPECT_TRUE(model.IsSelected("B"));
  EXPECT_FALSE(model.IsSelected("C"));
  EXPECT_FALSE(model.IsSelected("D"));
}

TEST(FeatureModel, ContainerSizeListReadsNamesOnly) {
  // A component named like another's size must not take the line after that
  // size (a name) for its own size, nor overwrite it.
  const Lines sizes = {"Alpha", "500", "500", "7", "Odd", "12abc", "Tail"};
  TFeatureModel model(sizes);
  for (const char* name : {"Alpha", "500", "Odd", "Tail"}) model.Define(name, "", true);

  EXPECT_EQ(model.Size("Alpha"), 500);
  EXPECT_EQ(model.Size("500"), 7);
  EXPECT_EQ(model.Size("Odd"), 0);   // not a number
  EXPECT_EQ(model.Size("Tail"), 0);  // no size line
  ASSERT_TRUE(model.SetSize("500", 9));
  EXPECT_EQ(model.Size("Alpha"), 500);
  EXPECT_EQ(model.Size("500"), 9);
  ASSERT_TRUE(model.SetSize("Tail", 3));
  EXPECT_EQ(model.Size("Tail"), 3);
}

TEST(FeatureModel, SpaceRequiredCountsSelectedComponentsLessTheInstalledSize) {
  const Lines sizes = {std::string(kPredefinedComponent), "1984470", "Docs", "1000", "Extras", "50"};
  TFeatureModel model(sizes);
  model.ResetForFirstInstall();
  EXPECT_EQ(model.SpaceRequired(), 1984470);

  model.Define("Docs", "", true);
  model.Define("Extras", "", false);
  EXPECT_EQ(model.SelectedSize(), 1985470);
  model.SetInstalledSize(2000000);
  EXPECT_EQ(model.SpaceRequired(), -14530);
}

TEST(FeatureModel, SizeSumsSaturateInsteadOfOverflowing) {
  constexpr auto kMax = std::numeric_limits<std::int64_t>::max();
  constexpr auto kMin = std::numeric_limits<std::int64_t>::min();
  TFeatureModel model;
  model.Define("A", "", true);
  model.Define("B", "", true);
  model.SetSize("A", kMax);
  model.SetSize("B", kMax);
  EXPECT_EQ(model.SelectedSize(), kMax);
  model.SetInstalledSize(kMin);
  EXPECT_EQ(model.SpaceRequired(), kMax);

  model.SetSize("A", kMin);
  model.SetSize("B", -1);
  EXPECT_EQ(model.SelectedSize(), kMin);
  model.SetInstalledSize(1);
  EXPECT_EQ(model.SpaceRequired(), kMin);
}

TEST(FeatureModel, ResetLeavesOnlyThePredefinedComponentAndKeepsSizes) {
  const Lines sizes = {"Docs", "1000"};
  TFeatureModel model(sizes);
  model.Define("Docs", "d", true);
  model.SetInstalledSize(99);
  model.ResetForFirstInstall();

  ASSERT_EQ(model.Components().size(), 1u);
  EXPECT_EQ(model.Components()[0].name, kPredefinedComponent);
  EXPECT_TRUE(model.IsSelected(kPredefinedComponent));
  EXPECT_EQ(model.InstalledSize(), 0);
  model.Define("Docs", "", false);
  EXPECT_EQ(model.Size("Docs"), 1000);
}

TEST(FeatureModel, AppendKeepsEveryStateWithItsOwnName) {
  // More names than states, then more states than names: later definitions
  // must not pick up a neighbour's state.
  TFeatureModel model;
  const Lines names = {"A", "B"};
  const Lines oneState = {"FALSE"};
  model.Append(names, oneState);
  EXPECT_EQ(model.Components()[1].state, "");
  EXPECT_FALSE(model.IsSelected("B"));

  model.Define("B", "", true);  // no state yet: takes the defined one
  model.Define("C", "", false);
  EXPECT_TRUE(model.IsSelected("B"));
  EXPECT_FALSE(model.IsSelected("C"));

  TFeatureModel other;
  const Lines oneName = {"X"};
  const Lines threeStates = {"FALSE", "TRUE", "TRUE"};
  other.Append(oneName, threeStates);
  other.Define("Y", "", false);
  ASSERT_EQ(other.Components().size(), 2u);
  EXPECT_FALSE(other.IsSelected("X"));
  EXPECT_FALSE(other.IsSelected("Y"));
}

TEST(FeatureModel, MergeSetsEveryMatchingComponentAndIgnoresTheRest) {
  TFeatureModel model;
  model.Append(Lines{"Docs", "DOCS", "Tools"}, Lines{"TRUE", "TRUE", "TRUE"});
  model.MergeStates(Lines{"docs", "Unknown", "Tools"}, Lines{"FALSE", "FALSE"});

  EXPECT_EQ(model.Components()[0].state, "FALSE");
  EXPECT_EQ(model.Components()[1].state, "FALSE");
  EXPECT_EQ(model.Components()[2].state, "TRUE");  // its name has no state in the file
  EXPECT_EQ(model.Components().size(), 3u);
}

}  // namespace
}  // namespace corvane
