#include "launcher/message_table.h"

#include <gtest/gtest.h>

#include <string>

namespace corvane {
namespace {

TEST(MessageTable, DefaultsStandAtTheirNumbers) {
  const TMessageTable table;
  struct Case {
    int number;
    const char* text;
  } cases[] = {
      {1, "Please install the common controls update from Microsoft before attempting to install this product."},
      {5, "Runtime error in install: "},
      {9, "Attempting to get value of undefined variable "},
      {10, "Attempting to set value of undefined variable "},
      {20, "Runtime error in setup script:"},
      {23, "Corvane Wizard"},
      {27, " Proxy Information (optional) "},
      {53, "If you choose Cancel, setup will exit. However, you will be able to resume your download from where it "
           "left off when you re-run setup."},
      {54, ""},
      {55, "Locating resource"},
      {88, "A previously executed setup still has pending operations on the system. Please restart your computer "
           "before attempting to install this product."},
      {90, "Please select the language to use during the installation:"},
      {91, ""},
      {111, ""},
      {112, "Unable to play Flash movie"},
      {115, "Entire feature will be &unavailable"},
      {0, ""},
      {116, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(table.Text(c.number), c.text) << c.number;
}

TEST(MessageTable, MessageFileReplacesTheWholeTable) {
  std::string file;
  for (int n = 1; n <= 120; ++n) file += "Text " + std::to_string(n) + (n % 2 ? "\r\n" : "\n");
  TMessageTable table;
  table.LoadMessageFile(file);
  for (int n = 1; n <= TMessageTable::kCount; ++n) {
    const bool reserved = n >= 91 && n <= 111;
    EXPECT_EQ(table.Text(n), reserved ? "" : "Text " + std::to_string(n)) << n;
  }
  EXPECT_EQ(table.Text(116), "");  // reading stops after line 115
}

TEST(MessageTable, ShortMessageFileEmptiesWhatItLacks) {
  TMessageTable table;
  table.LoadMessageFile("Eins\r\nZwei\r\n\r\nVier");
  EXPECT_EQ(table.Text(1), "Eins");
  EXPECT_EQ(table.Text(2), "Zwei");
  EXPECT_EQ(table.Text(3), "");
  EXPECT_EQ(table.Text(4), "Vier");
  EXPECT_EQ(table.Text(9), "");
  EXPECT_EQ(table.Text(115), "");
}

TEST(MessageTable, WizardCaption) {
  TMessageTable table;
  EXPECT_EQ(WizardCaption(table, "", false), "Corvane Wizard");
  EXPECT_EQ(WizardCaption(table, "Acme Tools", false), "Acme Tools - Corvane Wizard");
  EXPECT_EQ(WizardCaption(table, "Acme Tools", true), "Acme Tools");
  EXPECT_EQ(WizardCaption(table, "", true), "");
  std::string file(22, '\n');
  table.LoadMessageFile(file + "Assistent\n");
  EXPECT_EQ(WizardCaption(table, "Acme", false), "Acme - Assistent");  // follows the message file
}

}  // namespace
}  // namespace corvane
