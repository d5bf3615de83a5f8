// The setup language end to end: a setup with German and French
// translations, chosen silently and in the TSetLanguage dialog, which the
// test drives as a user would.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <optional>

#include "tests/engine/setup_folder.h"
#include "tests/support/fixture_paths.h"

namespace {

using corvane::test::FixturePath;
using corvane::test::TSetupFolder;
using corvane::test::WinePathOf;
using corvane::test::WorkFolders;
using namespace std::chrono_literals;

constexpr const char* kDialogCaption = "Select Setup Language";

// The language setup as demo.exe; kel.dll carrying messageFile, if any.
void PutLanguageSetup(TSetupFolder& setup, const std::string& messageFile = {}) {
  setup.Put(FixturePath("engine_language.exe"), "demo.exe");
  setup.Put(FixturePath("engine_language_resource.7z"), "demo.res");
  setup.Put(FixturePath("smoke.msi"), "demo.msi");
  const std::string kel = setup.Put(WinePathOf(CORVANE_KEL_DLL), "kel.dll");
  if (!messageFile.empty()) std::ofstream(kel, std::ios::binary | std::ios::app) << messageFile;
}

std::string TextOf(HWND window) {
  const int length = GetWindowTextLengthA(window);
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), length + 1)));
  return text;
}

// A top-level dialog with this caption, once it is on screen.
HWND WaitForDialog(const char* caption, std::chrono::milliseconds timeout = 30s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (std::chrono::steady_clock::now() < deadline) {
    HWND dialog = FindWindowA("#32770", caption);
    if (dialog && IsWindowVisible(dialog)) return dialog;
    Sleep(50);
  }
  return nullptr;
}

struct TControl {
  std::string windowClass;
  std::string text;
  RECT bounds;  // in the dialog's client coordinates
};

std::vector<TControl> ControlsOf(HWND dialog) {
  std::vector<TControl> controls;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char windowClass[64] = {};
    GetClassNameA(child, windowClass, sizeof(windowClass));
    RECT bounds;
    GetWindowRect(child, &bounds);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&bounds), 2);
    controls.push_back({windowClass, TextOf(child), bounds});
  }
  return controls;
}

// Read in UTF-16: Wine hands another process's combo items over as such
// whichever form of the message asks.
std::vector<std::string> ComboItems(HWND combo) {
  std::vector<std::string> items;
  const LRESULT count = SendMessageW(combo, CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    std::wstring item(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, i, 0)) + 1, L'\0');
    item.resize(static_cast<std::size_t>(SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()))));
    items.emplace_back(item.begin(), item.end());  // the language names are ASCII
  }
  return items;
}

// What the user saw in the language dialog, before answering it.
struct TDialogSeen {
  bool shown = false;
  std::string caption;
  SIZE client{};
  std::vector<TControl> controls;
  std::vector<std::string> languages;
  std::string preselected;
};

// Answers the dialog: picks language (none: presses Cancel) and presses OK.
TDialogSeen AnswerLanguageDialog(std::optional<std::string> language, const char* caption = kDialogCaption) {
  TDialogSeen seen;
  HWND dialog = WaitForDialog(caption);
  if (!dialog) return seen;
  seen.shown = true;
  seen.caption = TextOf(dialog);
  RECT client;
  GetClientRect(dialog, &client);
  seen.client = {client.right, client.bottom};
  seen.controls = ControlsOf(dialog);
  HWND combo = FindWindowExA(dialog, nullptr, "ComboBox", nullptr);
  seen.languages = ComboItems(combo);
  const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
  if (selected >= 0 && static_cast<std::size_t>(selected) < seen.languages.size())
    seen.preselected = seen.languages[static_cast<std::size_t>(selected)];
  if (language) SendMessageA(combo, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(language->c_str()));
  PostMessageA(GetDlgItem(dialog, language ? IDOK : IDCANCEL), BM_CLICK, 0, 0);
  return seen;
}

// The caption and text of a message box with this caption; presses OK.
std::pair<std::string, std::string> AnswerMessageBox(const char* caption) {
  HWND box = WaitForDialog(caption);
  if (!box) return {};
  std::string text(1024, '\0');
  text.resize(static_cast<std::size_t>(GetDlgItemTextA(box, 0xFFFF, text.data(), static_cast<int>(text.size()))));
  std::pair<std::string, std::string> seen{TextOf(box), text};
  PostMessageA(box, WM_COMMAND, IDOK, 0);
  return seen;
}

TEST(EngineLanguage, SilentRunTakesTheDefaultLanguageAndOverridesWin) {
  struct Case {
    std::vector<std::string> arguments;
    unsigned long exitCode;
  } cases[] = {
      {{"/s"}, 31},                     // German, the default
      {{"/s", "LANGUAGE=French"}, 32},  // the command line wins over the choice
      {{"/s", "LANGUAGE=Dutch"}, 10},   // no such translation: untranslated
  };
  for (const Case& c : cases) {
    TSetupFolder setup;
    PutLanguageSetup(setup);
    const auto result = setup.Run("demo.exe", c.arguments);
    ASSERT_TRUE(result.started) << result.error;
    ASSERT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitCode, c.exitCode) << c.arguments.back();
  }
}

TEST(EngineLanguage, UserPicksFrenchAndTheScriptSpeaksIt) {
  TSetupFolder setup;
  PutLanguageSetup(setup);
  auto user = std::async(std::launch::async, [] {
    TDialogSeen dialog = AnswerLanguageDialog("French");
    return std::pair{dialog, AnswerMessageBox("Salut")};
  });
  const auto result = setup.Run("demo.exe", {});
  const auto [dialog, box] = user.get();
  ASSERT_FALSE(result.timedOut);
  ASSERT_TRUE(dialog.shown);
  EXPECT_EQ(dialog.caption, kDialogCaption);
  EXPECT_EQ(dialog.client.cx, 241);
  EXPECT_EQ(dialog.client.cy, 127);
  // Only the language files: not the owner file, not the shared messages.
  std::vector<std::string> languages = dialog.languages;
  std::sort(languages.begin(), languages.end());
  EXPECT_EQ(languages, (std::vector<std::string>{"French", "German"}));
  EXPECT_EQ(dialog.preselected, "German");  // the user speaks English, which is not offered

  struct Expected {
    const char* windowClass;
    const char* text;
    RECT bounds;
  } expected[] = {
      {"Static", "", {16, 16, 40, 40}},
      {"Static", "Please select the language to use during the installation:", {56, 16, 225, 49}},
      {"ComboBox", "", {56, 56, 225, 0}},
      {"Button", "&OK", {72, 88, 147, 113}},
      {"Button", "&Cancel", {152, 88, 227, 113}},
  };
  ASSERT_EQ(dialog.controls.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const TControl& control = dialog.controls[i];
    SCOPED_TRACE(expected[i].text);
    EXPECT_EQ(control.windowClass, expected[i].windowClass);
    if (control.windowClass != "ComboBox") {
      EXPECT_EQ(control.text, expected[i].text);
    }
    EXPECT_EQ(control.bounds.left, expected[i].bounds.left);
    EXPECT_EQ(control.bounds.top, expected[i].bounds.top);
    EXPECT_EQ(control.bounds.right, expected[i].bounds.right);
    if (expected[i].bounds.bottom != 0) {  // a combo's height follows its font
      EXPECT_EQ(control.bounds.bottom, expected[i].bounds.bottom);
    }
  }

  EXPECT_EQ(box.first, "Salut");
  EXPECT_EQ(box.second, "Bonjour en French");
  EXPECT_EQ(result.exitCode, 32u);
}

TEST(EngineLanguage, CancelEndsTheSetupBeforeItsFirstCommand) {
  // The dialog's texts follow the engine's message file, lang.loc.
  std::vector<std::string> lines(115);
  lines[37] = "&Weiter";
  lines[38] = "&Abbrechen";
  lines[88] = "Sprache";
  lines[89] = "Bitte Sprache waehlen:";
  std::string messages;
  for (const std::string& line : lines) messages += line + "\r\n";

  TSetupFolder setup;
  PutLanguageSetup(setup, messages);
  const auto before = WorkFolders();
  auto user = std::async(std::launch::async, [] { return AnswerLanguageDialog(std::nullopt, "Sprache"); });
  const auto result = setup.Run("demo.exe", {});
  const TDialogSeen dialog = user.get();
  ASSERT_FALSE(result.timedOut) << "a command ran after Cancel and waits in its message box";
  ASSERT_TRUE(dialog.shown);
  ASSERT_EQ(dialog.controls.size(), 5u);
  EXPECT_EQ(dialog.controls[1].text, "Bitte Sprache waehlen:");
  EXPECT_EQ(dialog.controls[3].text, "&Weiter");
  EXPECT_EQ(dialog.controls[4].text, "&Abbrechen");
  EXPECT_EQ(result.exitCode, 0u);
  EXPECT_EQ(WorkFolders(), before);
}

}  // namespace
