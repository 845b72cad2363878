#pragma once
// MainWindow's behaviour: start-up, which control runs which action, the busy state, the
// input poll, refresh and exit.
#include <functional>
#include <string>

#include "adapters/Model.h"
#include "config/Services.h"

namespace netvane {

class MainWindow : public Shell {
 public:
  // The actions of the other subsystems that the main window runs. Each may be left empty
  // while its subsystem is not wired in; the window then simply skips that step.
  struct Actions {
    std::function<void()> loadQuickSetup;
    std::function<void()> saveQuickSetup;
    std::function<void()> enumerateAdapters;
    std::function<void()> showSelectedAdapter;
    std::function<void()> fillFromMachineNumber;
    std::function<void()> runModify;
    std::function<void()> openAdvanced;
    // Run when the operator ends the program; gives its exit code (0 when left empty).
    std::function<int()> ending;
  };

  // `devconImage` is the device console tool that start-up writes when it is missing.
  MainWindow(SharedState& state, Services& services, std::string devconImage);

  Actions& actions() { return actions_; }
  // Creates the window; its creation handler runs the start-up initialisation.
  void Open();

  void OnMainWindowCreated();
  void Initialise();
  void RefreshAdapters();
  void RunCafeAction();
  void PollInput() override;
  void SetBusy(bool busy) override;
  void HoldExit(bool hold) override;
  // The path start-up writes the device console tool to.
  std::string DevconPath();

 private:
  void OnEvent(const WindowEvent& event);
  void OnClick(MainControl control);
  void OnEnter(int focused);
  void ShowPickedAdapter();
  void End();
  static void Run(const std::function<void()>& action) {
    if (action) action();
  }

  SharedState& state_;
  Services& services_;
  WindowSystem& windows_;
  std::string devconImage_;
  Actions actions_;
  bool exitHeld_ = false;
  bool exitWaiting_ = false;
};

}  // namespace netvane
