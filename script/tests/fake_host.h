// A host that records what the engine asks of Windows.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "script/script_host.h"

namespace corvane::testing {

class TFakeHost : public TScriptHost {
public:
  struct TBox {
    TWindowHandle owner;
    std::string caption;
    std::string text;
    unsigned style;
  };
  struct TRunValue {
    TRegistryRoot root;
    std::string name;
    std::string data;
  };

  int ShowMessageBox(TWindowHandle owner, const std::string& caption, const std::string& text,
                     unsigned style) override {
    boxes.push_back({owner, caption, text, style});
    if (answers.empty()) {
      return 1;
    }
    const int answer = answers.front();
    answers.pop_front();
    return answer;
  }
  void HandlePendingMessages() override { ++pendingMessageRounds; }
  void HandleOneMessage() override { ++messagesHandled; }
  void WaitForWorker(TWorkerHandle worker) override { workersWaitedFor.push_back(worker); }
  void RequestRestart() override { ++restarts; }
  bool WriteRunValue(TRegistryRoot root, const std::string& name, const std::string& data) override {
    runValues.push_back({root, name, data});
    return true;
  }
  std::string CurrentDate() override { return date; }
  std::string CurrentTime() override { return time; }
  std::string EnginePath() override { return enginePath; }

  std::vector<TBox> boxes;
  std::deque<int> answers;  // then 1 (OK)
  int pendingMessageRounds = 0;
  int messagesHandled = 0;
  std::vector<TWorkerHandle> workersWaitedFor;
  int restarts = 0;
  std::vector<TRunValue> runValues;
  std::string date = "1/2/2025";
  std::string time = "10:11:12 AM";
  std::string enginePath = "C:\\Users\\me\\kel1\\setup.exe";
};

}  // namespace corvane::testing
