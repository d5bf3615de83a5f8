// The real host under Wine. Nothing here shows a message box (a silent run
// asks for none) and the restart request always goes to the test's own
// requester.
#include "platform/windows_script_host.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>

#include "launcher/script_container.h"
#include "script/command_table.h"
#include "script/core_commands.h"
#include "script/engine_context.h"
#include "script/interpreter.h"
#include "script/run_context.h"
#include "script/setup_init.h"
#include "script/tests/fake_setup_system.h"

namespace corvane {
namespace {

constexpr const char* kRunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";

std::optional<std::string> ReadRunValue(HKEY root, const std::string& name) {
  DWORD size = 0;
  if (RegGetValueA(root, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  std::string data(size, '\0');
  if (RegGetValueA(root, kRunKey, name.c_str(), RRF_RT_REG_SZ, nullptr, data.data(), &size) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  data.resize(size > 0 ? size - 1 : 0);
  return data;
}

void DeleteRunValue(HKEY root, const std::string& name) { RegDeleteKeyValueA(root, kRunKey, name.c_str()); }

TEST(WindowsScriptHost, WritesTheResumeEntryUnderTheRunKey) {
  TWindowsScriptHost host([] { FAIL() << "restart requested"; });
  ASSERT_TRUE(host.WriteRunValue(TRegistryRoot::CurrentUser, "CVTEST01", "C:\\Setups\\setup.exe /s A=\"b c\""));
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER, "CVTEST01"), "C:\\Setups\\setup.exe /s A=\"b c\"");
  DeleteRunValue(HKEY_CURRENT_USER, "CVTEST01");
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER, "CVTEST01"), std::nullopt);
}

TEST(WindowsScriptHost, LocaleDateTimeAndEnginePath) {
  TWindowsScriptHost host([] { FAIL() << "restart requested"; });
  EXPECT_FALSE(host.CurrentDate().empty());
  EXPECT_NE(host.CurrentTime().find(':'), std::string::npos) << host.CurrentTime();
  const std::string path = host.EnginePath();
  EXPECT_NE(path.find("script_host_test.exe"), std::string::npos) << path;
  EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, true) << path;
}

LRESULT CALLBACK CountingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) {
    ++*reinterpret_cast<int*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

TEST(WindowsScriptHost, HandlesQueuedWindowMessages) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CountingProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "CorvaneHostTest";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "CorvaneHostTest", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                windowClass.hInstance, nullptr);
  ASSERT_NE(window, nullptr);
  int handled = 0;
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&handled));
  TWindowsScriptHost host([] { FAIL() << "restart requested"; });

  PostMessageA(window, WM_APP, 0, 0);
  PostMessageA(window, WM_APP, 0, 0);
  host.HandlePendingMessages();
  EXPECT_EQ(handled, 2);
  host.HandlePendingMessages();  // nothing queued: returns at once
  PostMessageA(window, WM_APP, 0, 0);
  host.HandleOneMessage();
  EXPECT_EQ(handled, 3);
  DestroyWindow(window);
}

DWORD WINAPI SlowWorker(void* parameter) {
  Sleep(200);
  *static_cast<std::atomic<bool>*>(parameter) = true;
  return 0;
}

// A silent run of real commands through the real host.
class SilentRun : public ::testing::Test {
protected:
  int Run(TContainerSections sections) {
    RegisterCoreCommands(commands);
    const TScriptContainer container(std::move(sections));
    TInterpreter interpreter(engine, host, commands, {.initialiser = initialiser});
    return interpreter.Run(container, testing::kTestPackagePath);
  }
  static void Add(TContainerSections& sections, std::string name, std::vector<std::string> parameters) {
    const std::string guid = "{00000000-0000-0000-0000-00000000000" + std::to_string(sections.commandNames.size()) + "}";
    sections.commandNames.push_back(std::move(name));
    sections.commandGuids.push_back(guid);
    sections.disabledMarks.emplace_back();
    sections.parameterBlocks.push_back(guid);
    sections.parameterBlocks.insert(sections.parameterBlocks.end(), parameters.begin(), parameters.end());
  }

  TEngineContext engine{TStartOptions{.silent = true, .argumentsText = "/s"}};
  int restarts = 0;
  TWindowsScriptHost host{[this] { ++restarts; }};
  TCommandTable commands;
  testing::TFakeSetupSystem system;
  testing::TFakeProductStart product;
  TSetupInit initialiser{{.system = system, .product = product}};
};

TEST_F(SilentRun, ShowsNoMessageBoxesAndWaitsForWorkers) {
  std::atomic<bool> finished{false};
  HANDLE worker = CreateThread(nullptr, 0, SlowWorker, &finished, 0, nullptr);
  ASSERT_NE(worker, nullptr);
  commands.Register("Wait", [worker](TRunContext& run) { run.WaitStep(worker); });
  TContainerSections sections;
  Add(sections, "Wait", {});
  Add(sections, "MessageBox", {"Caption", "Text", "0", "1", "ANSWER"});
  Add(sections, "If", {"ANSWER", "0", "OK", "FALSE"});  // undefined: the error is not shown either
  Add(sections, "End", {});
  EXPECT_EQ(Run(std::move(sections)), 0);
  EXPECT_TRUE(finished);
  EXPECT_FALSE(engine.store.Exists("ANSWER"));
  CloseHandle(worker);
}

TEST_F(SilentRun, RebootAndResumeWritesTheEntryAndRequestsARestart) {
  TContainerSections sections;
  sections.productCode = "{C0FFEE42-1111-2222-3333-444455556666}";
  Add(sections, "Reboot and Resume", {});
  Add(sections, "Terminate with Exit Code", {"7"});
  EXPECT_EQ(Run(std::move(sections)), 0);
  EXPECT_EQ(restarts, 1);
  EXPECT_EQ(ReadRunValue(HKEY_CURRENT_USER, "C0FFEE42"), host.EnginePath() + " /s");
  DeleteRunValue(HKEY_CURRENT_USER, "C0FFEE42");
}

}  // namespace
}  // namespace corvane
