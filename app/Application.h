#pragma once
// The program as a whole, Windows-free: the one shared state, the main window and the
// subsystems it runs, wired together.
#include <optional>
#include <string>
#include <string_view>

#include "adapters/AdapterDiscovery.h"
#include "adapters/Model.h"
#include "advanced/AdvancedWindow.h"
#include "apply/AdapterApply.h"
#include "quicksetup/QuickSetup.h"
#include "app/CommandLine.h"
#include "app/MainWindow.h"
#include "config/Services.h"

namespace netvane {

class Application {
 public:
  Application(Services& services, std::string devconImage);
  // Opens MainWindow; its creation runs the start-up initialisation, then the machine table
  // fills the machine number.
  void Start();
  // Starts as the command line asks. Without switches: nothing more, and nothing is returned
  // (the message loop runs). With /number, /auto or /undo: runs that in the visible window,
  // appends one line to netvane.log beside the program and returns the exit code: 0 done (or
  // nothing to do), 1 a step failed, 2 nothing applied. A command line not understood lists
  // the valid switches in a message box and returns 2.
  std::optional<int> Run(std::string_view arguments);

  SharedState& state() { return state_; }
  MainWindow& mainWindow() { return main_; }
  AdapterApply& apply() { return apply_; }
  AdvancedWindow& advancedWindow() { return advanced_; }

 private:
  // The café action with this number, as Enter, the number, Enter would run it.
  ApplyResult RunCafeAction(const std::string& number);
  // Puts back what netvane-undo.reg holds, then refreshes; false when a value would not take.
  std::optional<bool> RunUndo();
  void Log(std::string_view arguments, int exitCode, std::string_view outcome);

  Services& services_;
  SharedState state_;
  MainWindow main_;
  TableLookup tableLookup_ = TableLookup::NoTable;
  MachineIdentity identity_;
  AdapterDiscovery discovery_;
  AdapterApply apply_;
  QuickSetup quickSetup_;
  AdvancedWindow advanced_;
};

}  // namespace netvane
