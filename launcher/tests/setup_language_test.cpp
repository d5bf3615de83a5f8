// The language choice at the start of a run and the translations that
// follow LANGUAGE, run through the interpreter with files in memory.
#include <gtest/gtest.h>

#include "launcher/language_choice.h"
#include "launcher/setup_translator.h"
#include "launcher/tests/fake_text_files.h"
#include "script/tests/script_fixture.h"

namespace corvane::testing {
namespace {

constexpr const char* kWork = "C:\\Temp\\kel1\\";
constexpr const char* kCache = "C:\\Users\\me\\Application Data\\{REV}\\";

std::string Work(const std::string& name) { return kWork + name; }

// The key, owner and language lines of one translated text.
struct TRow {
  std::string key, owner, text;
};

void PutLanguage(TFakeTextFiles& files, const std::string& language, const std::vector<TRow>& rows) {
  std::string keys, owners, texts;
  for (const TRow& row : rows) {
    keys += row.key + "\r\n";
    owners += row.owner + "\r\n";
    texts += row.text + "\r\n";
  }
  files.Put(Work("Product.mtx"), keys);
  files.Put(Work("translations.Map"), owners);
  files.Put(Work("translations." + language), texts);
}

// A message file whose entry 89 names its language.
std::string SharedMessages(const std::string& caption) { return std::string(88, '\n') + caption + "\n"; }

TContainerSections Sections(bool prompt = false, std::string defaultLanguage = "German") {
  TContainerSections sections;
  sections.title = "Product";
  sections.languagePrompt = prompt;
  sections.defaultLanguage = std::move(defaultLanguage);
  return sections;
}

class TScriptedPrompt : public TLanguagePrompt {
public:
  std::optional<std::size_t> Choose(const std::vector<std::string>& languages, std::size_t preselected,
                                    const TMessageTable& messages) override {
    offered = languages;
    shownPreselected = preselected;
    caption = messages.Text(89);
    ++shown;
    return answer;
  }
  std::optional<std::size_t> answer = 0;
  std::vector<std::string> offered;
  std::size_t shownPreselected = 99;
  std::string caption;
  int shown = 0;
};

class TLanguageRun {
public:
  explicit TLanguageRun(TStartOptions options = {}, unsigned userLanguage = 1033)
      : runner(std::move(options)),
        translator(files, {kWork, "Product"}, TMessageTable()),
        chooser(files, prompt, {kWork, "setup", [](TRunContext&) { return std::string(kCache); }}, userLanguage),
        initialiser({.system = runner.system, .product = runner.product, .language = &chooser}) {
    runner.commands.Register("Note Language", [](TRunContext& run) {
      const std::string trace = run.Store().Find("TRACE").value_or("");
      run.StoreResult("TRACE", trace + "[" + run.Store().Get("LANGUAGE") + "]");
    });
  }

  void Run(const std::vector<TLine>& lines, TContainerSections sections = Sections()) {
    const TScriptContainer container(MakeSections(lines, std::move(sections)));
    TInterpreter interpreter(runner.engine, runner.host, runner.commands,
                             {.initialiser = initialiser, .translator = &translator});
    interpreter.Run(container, kTestPackagePath);
  }
  std::string Trace() const { return runner.Trace(); }

  TScriptRunner runner;
  TFakeTextFiles files;
  TScriptedPrompt prompt;
  TSetupTranslator translator;
  TSetupLanguageChooser chooser;
  TSetupInit initialiser;
};

TLine NoteLanguage() { return {"Note Language", {}}; }

std::string GuidOfLine(std::size_t index) { return MakeSections(std::vector<TLine>(index + 1)).commandGuids[index]; }

TLine Box() { return {"MessageBox", {"Caption", "Text $B$", "0", "1", ""}}; }

TEST(Translations, SetVariableIfAndMessageBoxTakeTheirSlots) {
  TLanguageRun run;
  PutLanguage(run.files, "German", {{GuidOfLine(2), "", "Wert $B$"},
                                    {GuidOfLine(3), "", "$GERMAN$"},
                                    {"slot 2", "", "ja"},
                                    {GuidOfLine(4), "", "Titel"},
                                    {"slot 2", "", "Frage $B$?"}});
  run.Run({Set("B", "b"), Set("GERMAN", "ja"), Set("A", "value $B$"), If("ENGLISH", "0", "yes"), Box(), End(),
           Set("C", "untranslated $B$")});
  EXPECT_EQ(run.runner.Value("LANGUAGE"), "German");  // the default language, without a prompt
  EXPECT_EQ(run.runner.Value("A"), "Wert b");
  ASSERT_EQ(run.runner.host.boxes.size(), 1u) << "the If compared GERMAN with ja";
  EXPECT_EQ(run.runner.host.boxes[0].caption, "Titel");
  EXPECT_EQ(run.runner.host.boxes[0].text, "Frage b?");
  EXPECT_EQ(run.runner.Value("C"), "untranslated b");  // its GUID is not in the key file
}

TEST(Translations, LanguageWithoutUsableFilesIsDroppedAtTheNextCommand) {
  struct Case {
    const char* language;  // what the script sets
    void (*spoil)(TFakeTextFiles&);
    const char* failure;
  } cases[] = {
      {"French", [](TFakeTextFiles&) {}, "cannot read C:\\Temp\\kel1\\translations.French"},
      {"German", [](TFakeTextFiles& f) { f.Remove(Work("translations.Map")); },
       "cannot read C:\\Temp\\kel1\\translations.Map"},
      {"German", [](TFakeTextFiles& f) { f.Remove(Work("Product.mtx")); }, "cannot read C:\\Temp\\kel1\\Product.mtx"},
      {"German", [](TFakeTextFiles& f) { f.Put(Work("translations.German"), "one\r\n"); },
       "translations of German are not parallel: line counts differ: key file 2, owner file 2, language file 1"},
      {"..\\kel1\\German", [](TFakeTextFiles&) {}, "the language name \"..\\kel1\\German\" is not a file name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.failure);
    TLanguageRun run;
    PutLanguage(run.files, "German", {{GuidOfLine(2), "", "Deutsch"}, {"slot 2", "", "zwei"}});
    c.spoil(run.files);
    run.Run({Set("LANGUAGE", c.language), NoteLanguage(), Set("V", "English")}, Sections(false, "Klingon"));
    EXPECT_EQ(run.Trace(), "[]");
    EXPECT_EQ(run.runner.Value("V"), "English");
    EXPECT_EQ(run.translator.LastFailure(), c.failure);
  }
}

TEST(Translations, TheScriptCanSwitchLanguagesAndTheMessagesFollow) {
  TLanguageRun run;
  PutLanguage(run.files, "German", {{GuidOfLine(5), "", "Hallo"}});
  run.files.Put(Work("translations.French"), "Bonjour\r\n");
  run.files.Put(Work("shared.translations.German"), SharedMessages("Setup-Sprache"));
  std::vector<std::string> captions;
  run.runner.commands.Register("Note Caption", [&](TRunContext& r) { captions.push_back(r.Engine().messages.Text(89)); });
  const TLine caption{"Note Caption", {}};
  run.Run({Set("LANGUAGE", ""), caption, Set("LANGUAGE", "German"), caption, Set("LANGUAGE", "French"),
           Set("GREETING", "Hello"), caption, Set("LANGUAGE", ""), caption});
  // French has no shared message file: the start-up texts come back rather
  // than German ones staying in force.
  EXPECT_EQ(captions, (std::vector<std::string>{"Select Setup Language", "Setup-Sprache", "Select Setup Language",
                                                "Select Setup Language"}));
  EXPECT_EQ(run.runner.Value("GREETING"), "Bonjour");
  EXPECT_FALSE(run.translator.Active());
}

TEST(Translations, FilesAreReadAgainOnlyWhenTheyChange) {
  TLanguageRun run;
  PutLanguage(run.files, "German", {{GuidOfLine(3), "", "eins"}, {GuidOfLine(5), "", "zwei"}});
  int readsBeforeRewrite = 0;
  run.runner.commands.Register("Rewrite", [&](TRunContext&) {
    readsBeforeRewrite = run.files.reads;
    run.files.Put(Work("translations.German"), "neu eins\r\nneu zwei\r\n");
  });
  run.Run({Set("X", "1"), Set("X", "2"), Set("X", "3"), Set("A", "one"), {"Rewrite", {}}, Set("B", "two")});
  EXPECT_EQ(readsBeforeRewrite, 4) << "key, owner, language and shared file, once";
  EXPECT_EQ(run.runner.Value("A"), "eins");
  EXPECT_EQ(run.runner.Value("B"), "neu zwei");
}

TEST(Translations, DialogTextsFallBackToTheDesignedText) {
  TLanguageRun run;
  PutLanguage(run.files, "German", {{"Label1", "welcome.dfm", "Willkommen"}, {"welcome.dfm", "welcome.dfm", "Start"}});
  const auto lookups = [&] {
    return std::vector<std::string>{run.translator.TranslateDialogText("Welcome.dfm", "LABEL1", "Welcome"),
                                    run.translator.TranslateDialogText("welcome.dfm", "welcome.dfm", "Start here"),
                                    run.translator.TranslateDialogText("welcome.dfm", "Label2", "Designed"),
                                    run.translator.TranslateDialogText("welcome.dfm", "Label2", std::nullopt)};
  };
  std::vector<std::vector<std::string>> seen;
  run.runner.commands.Register("Look Up", [&](TRunContext&) { seen.push_back(lookups()); });
  run.Run({{"Look Up", {}}, Set("LANGUAGE", ""), {"Look Up", {}}});
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0], (std::vector<std::string>{"Willkommen", "Start", "Designed", ""}));
  EXPECT_EQ(seen[1], (std::vector<std::string>{"Welcome", "Start here", "Designed", ""}));
}

TEST(LanguageChoice, OffersTheLanguageFilesOnly) {
  EXPECT_EQ(OfferedLanguages({"translations.German", "Product.mtx", "translations.Map", "shared.translations.German",
                              "translations.French", "translations.shared", "TRANSLATIONS.Dutch",
                              "translations.German.bak", "readme.txt"}),
            (std::vector<std::string>{"German", "French", "Dutch", "bak"}));
}

TEST(LanguageChoice, PreselectsTheUsersLanguageThenTheDefault) {
  struct Case {
    std::vector<std::string> languages;
    const char* user;
    const char* fallback;
    std::size_t preselected;
  } cases[] = {
      {{"German", "French"}, "French", "German", 1},
      {{"German", "French"}, "English", "french", 1},
      {{"German", "Dutch", "German"}, "", "German", 2},  // the last item of the default language
      {{"German", "French"}, "", "Klingon", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(PreselectedLanguage(c.languages, c.user, c.fallback), c.preselected);
}

void PutGermanAndFrench(TFakeTextFiles& files) {
  PutLanguage(files, "German", {{GuidOfLine(1), "", "Deutsch"}});
  files.Put(Work("translations.French"), "Francais\r\n");
  files.Put(Work("shared.translations.German"), SharedMessages("Setup-Sprache"));
}

TEST(LanguageChoice, TheDialogListsTheLanguagesAndStartsOnTheUsersOwn) {
  TLanguageRun run({}, 1036);  // a French user
  PutGermanAndFrench(run.files);
  run.prompt.answer = 1;
  run.Run({NoteLanguage(), Set("V", "English")}, Sections(true, "German"));
  EXPECT_EQ(run.prompt.offered, (std::vector<std::string>{"German", "French"}));
  EXPECT_EQ(run.prompt.shownPreselected, 1u);
  EXPECT_EQ(run.prompt.caption, "Select Setup Language");
  EXPECT_EQ(run.Trace(), "[French]");
  EXPECT_EQ(run.runner.Value("V"), "Francais");
}

TEST(LanguageChoice, WithoutThePromptOrTheUserTheDefaultLanguageIsTaken) {
  struct Case {
    const char* name;
    bool prompt;
    bool silent;
    bool maintenance;
    bool recorded;  // the cache folder holds setup.lan
    const char* defaultLanguage;
    const char* language;
  } cases[] = {
      {"no prompt", false, false, false, false, "German", "German"},
      {"no prompt, letter case of the file ignored", false, false, false, false, "GERMAN", "GERMAN"},
      {"no prompt, no file of the default language", false, false, false, false, "Dutch", ""},
      {"silent run asks nobody", true, true, false, false, "German", "German"},
      {"maintenance: the language of the installation", true, false, true, true, "German", "French"},
      {"maintenance without a record", true, false, true, false, "German", "German"},
      {"maintenance, no prompt", false, false, true, true, "German", "French"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TLanguageRun run(TStartOptions{.silent = c.silent});
    run.runner.product.maintenance = c.maintenance;
    PutGermanAndFrench(run.files);
    if (c.recorded) run.files.Put(std::string(kCache) + "setup.lan", "French\r\nignored\r\n");
    run.Run({NoteLanguage()}, Sections(c.prompt, c.defaultLanguage));
    EXPECT_EQ(run.prompt.shown, 0);
    EXPECT_EQ(run.Trace(), "[" + std::string(c.language) + "]");
  }
}

TEST(LanguageChoice, CancelEndsTheRunBeforeItsFirstCommand) {
  TLanguageRun run;
  PutGermanAndFrench(run.files);
  run.prompt.answer = std::nullopt;
  run.Run({NoteLanguage(), {"Terminate with Exit Code", {"5"}}}, Sections(true));
  EXPECT_EQ(run.prompt.shown, 1);
  EXPECT_EQ(run.Trace(), "");
  EXPECT_TRUE(run.runner.host.boxes.empty());
}

TEST(LanguageChoice, NothingIsOfferedWithoutTheKeyFileOrALanguageFile) {
  for (const bool keyFile : {false, true}) {
    TLanguageRun run;
    if (keyFile) {
      run.files.Put(Work("Product.mtx"), "");
      run.files.Put(Work("translations.Map"), "");
      run.files.Put(Work("shared.translations.German"), SharedMessages("Setup-Sprache"));
    } else {
      PutGermanAndFrench(run.files);
      run.files.Remove(Work("Product.mtx"));
    }
    run.Run({NoteLanguage()}, Sections(true));
    EXPECT_EQ(run.prompt.shown, 0);
    EXPECT_EQ(run.Trace(), "[]");
  }
}

}  // namespace
}  // namespace corvane::testing
