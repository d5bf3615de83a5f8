#include "tests/support/process_runner.h"

#include <windows.h>

#include <map>
#include <memory>
#include <thread>

namespace corvane::test {
namespace {

struct THandleCloser {
  void operator()(HANDLE h) const {
    if (h && h != INVALID_HANDLE_VALUE) CloseHandle(h);
  }
};
using THandle = std::unique_ptr<void, THandleCloser>;

std::string LastErrorText(const char* what) {
  return std::string(what) + " failed with error " + std::to_string(GetLastError());
}

// The parent's environment with the request's pairs added or replaced, as the
// double-NUL-terminated block CreateProcess wants.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& extra) {
  std::map<std::string, std::string, decltype([](const std::string& a, const std::string& b) {
             return _stricmp(a.c_str(), b.c_str()) < 0;
           })>
      variables;
  char* block = GetEnvironmentStrings();
  for (const char* p = block; *p; p += strlen(p) + 1) {
    std::string entry(p);
    auto eq = entry.find('=', 1);  // names like "=C:" start with '='
    if (eq != std::string::npos) variables[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  FreeEnvironmentStringsA(block);
  for (const auto& [name, value] : extra) variables[name] = value;
  std::string result;
  for (const auto& [name, value] : variables) result += name + "=" + value + '\0';
  result += '\0';
  return result;
}

}  // namespace

std::string QuoteArgument(const std::string& argument) {
  if (!argument.empty() && argument.find_first_of(" \t\"") == std::string::npos) return argument;
  std::string quoted = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
    backslashes = 0;
    quoted += c;
  }
  quoted.append(backslashes * 2, '\\');
  return quoted + "\"";
}

TRunResult RunProgram(const TRunRequest& request) {
  TRunResult result;
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE readRaw = nullptr, writeRaw = nullptr;
  if (!CreatePipe(&readRaw, &writeRaw, &inherit, 0)) {
    result.error = LastErrorText("CreatePipe");
    return result;
  }
  THandle readEnd(readRaw), writeEnd(writeRaw);
  SetHandleInformation(readRaw, HANDLE_FLAG_INHERIT, 0);

  std::string commandLine = QuoteArgument(request.program);
  for (const auto& argument : request.arguments) commandLine += " " + QuoteArgument(argument);
  std::string environment = EnvironmentBlock(request.environment);

  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = writeRaw;
  startup.hStdError = writeRaw;
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(request.program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0,
                      environment.data(),
                      request.workingFolder.empty() ? nullptr : request.workingFolder.c_str(),
                      &startup, &process)) {
    result.error = LastErrorText("CreateProcess");
    return result;
  }
  result.started = true;
  THandle processHandle(process.hProcess), threadHandle(process.hThread);
  writeEnd.reset();  // the child holds the only write end now: EOF when it exits

  std::thread reader([&] {
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(readRaw, buffer, sizeof(buffer), &got, nullptr) && got > 0)
      result.output.append(buffer, got);
  });
  auto timeout = static_cast<DWORD>(request.timeout.count());
  if (WaitForSingleObject(process.hProcess, timeout) == WAIT_TIMEOUT) {
    result.timedOut = true;
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, INFINITE);
  }
  reader.join();
  DWORD code = 0;
  GetExitCodeProcess(process.hProcess, &code);
  result.exitCode = code;
  return result;
}

}  // namespace corvane::test
