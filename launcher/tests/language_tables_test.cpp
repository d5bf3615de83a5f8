// The language code table, text lines and the parallel translation files.
#include <gtest/gtest.h>

#include <variant>

#include "launcher/language_codes.h"
#include "launcher/text_lines.h"
#include "launcher/translation_tables.h"

namespace corvane {
namespace {

TEST(LanguageCodes, NamesMapToIdentifiersAndBack) {
  struct Case {
    const char* name;
    const char* identifier;
  } cases[] = {
      {"English", "1033"},           {"german", "1031"},        {"portugese (brazil)", "1046"},
      {"Portugese (Portugal)", "2070"}, {"SPANISH", "3082"},    {"Chinese (PRC)", "2052"},
      {"Basque", "1069"},            {"Klingon", "1033"},       {"", "1033"},
      {"Portuguese (Brazil)", "1033"},  // only the table's own spelling
  };
  for (const Case& c : cases) EXPECT_EQ(LanguageIdentifier(c.name), c.identifier) << c.name;

  struct Back {
    unsigned identifier;
    const char* name;
  } backs[] = {{1036, "French"}, {1046, "Portugese (Brazil)"}, {1028, "Chinese (Taiwan)"}, {1066, "Vietnamese"},
               {2057, ""},       {0, ""}};
  for (const Back& b : backs) EXPECT_EQ(LanguageDisplayName(b.identifier), b.name) << b.identifier;
}

TEST(LanguageCodes, LocaleTextIsHexadecimal) {
  struct Case {
    const char* text;
    unsigned identifier;
  } cases[] = {{"0409", 1033}, {"040c", 1036}, {"040C", 1036}, {"0816", 2070},
               {"", 0},        {"x409", 0},    {"0409 ", 0},   {"123456789", 0}};
  for (const Case& c : cases) EXPECT_EQ(LanguageOfLocaleText(c.text), c.identifier) << c.text;
}

TEST(TextLines, LineEndsAndTheLastLine) {
  struct Case {
    const char* content;
    std::vector<std::string> lines;
  } cases[] = {
      {"", {}},
      {"a", {"a"}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},
      {"a\n\n", {"a", ""}},
      {"\n", {""}},
      {"a\rb\n", {"a\rb"}},  // a lone CR is text
  };
  for (const Case& c : cases) EXPECT_EQ(SplitTextLines(c.content), c.lines) << c.content;
  EXPECT_EQ(SplitTextLines("1\n2\n3\n", 2), (std::vector<std::string>{"1", "2"}));
}

// Two commands (the second with three slots) and two dialog texts.
constexpr const char* kKeys = "{AAAA-1}\r\n{BBBB-2}\r\nline 3 slot\r\nline 5 slot\r\nLabel1\r\nwelcome.dfm\r\n";
constexpr const char* kOwners = "\r\n\r\n\r\n\r\nwelcome.dfm\r\nwelcome.dfm\r\n";
constexpr const char* kTexts = "Hallo\r\nErster\r\nZweiter\r\nDritter\r\nWillkommen\r\nAssistent\r\n";

TTranslationTables Tables() { return std::get<TTranslationTables>(TTranslationTables::Parse(kKeys, kOwners, kTexts)); }

TEST(TranslationTables, CommandTextsStartAtTheGuidLine) {
  const TTranslationTables tables = Tables();
  struct Case {
    const char* guid;
    int slot;
    std::optional<std::string> text;
  } cases[] = {
      {"{AAAA-1}", 1, "Hallo"},    {"{aaaa-1}", 1, "Hallo"},    {"{BBBB-2}", 1, "Erster"},
      {"{BBBB-2}", 3, "Dritter"},  {"{AAAA-1}", 2, "Erster"},  // the lines below are the next command's
      {"{BBBB-2}", 6, std::nullopt},  // past the end of the files
      {"{BBBB-2}", 0, std::nullopt},  {"{CCCC-3}", 1, std::nullopt}, {"", 1, std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(tables.CommandText(c.guid, c.slot), c.text) << c.guid << " " << c.slot;
}

TEST(TranslationTables, DialogTextsNeedOwnerAndControl) {
  const TTranslationTables tables = Tables();
  struct Case {
    const char* owner;
    const char* control;
    std::optional<std::string> text;
  } cases[] = {
      {"welcome.dfm", "Label1", "Willkommen"},
      {"WELCOME.DFM", "label1", "Willkommen"},
      {"welcome.dfm", "welcome.dfm", "Assistent"},  // the dialog's own caption
      {"licence.dfm", "Label1", std::nullopt},
      {"", "{AAAA-1}", "Hallo"},  // command lines have an empty owner
      {"welcome.dfm", "Label2", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(tables.DialogText(c.owner, c.control), c.text) << c.owner << c.control;
}

TEST(TranslationTables, FilesThatAreNotParallelAreRefused) {
  struct Case {
    const char* keys;
    const char* owners;
    const char* texts;
    const char* reason;
  } cases[] = {
      {"a\nb\n", "\n\n", "x\n", "line counts differ: key file 2, owner file 2, language file 1"},
      {"a\n", "", "x\n", "line counts differ: key file 1, owner file 0, language file 1"},
  };
  for (const Case& c : cases) {
    auto parsed = TTranslationTables::Parse(c.keys, c.owners, c.texts);
    ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
    EXPECT_EQ(std::get<std::string>(parsed), c.reason);
  }
  EXPECT_TRUE(std::holds_alternative<TTranslationTables>(TTranslationTables::Parse("", "", "")));
}

}  // namespace
}  // namespace corvane
