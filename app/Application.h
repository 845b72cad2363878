#pragma once
// The program as a whole, Windows-free: the one shared state, the main window and the
// subsystems it runs, wired together.
#include <string>

#include "adapters/AdapterDiscovery.h"
#include "adapters/Model.h"
#include "advanced/AdvancedWindow.h"
#include "apply/AdapterApply.h"
#include "quicksetup/QuickSetup.h"
#include "app/MainWindow.h"
#include "config/Services.h"

namespace netvane {

class Application {
 public:
  Application(Services& services, std::string devconImage);
  // Opens MainWindow; its creation runs the start-up initialisation.
  void Start();

  SharedState& state() { return state_; }
  MainWindow& mainWindow() { return main_; }
  AdvancedWindow& advancedWindow() { return advanced_; }

 private:
  Services& services_;
  SharedState state_;
  MainWindow main_;
  MachineIdentity identity_;
  AdapterDiscovery discovery_;
  AdapterApply apply_;
  QuickSetup quickSetup_;
  AdvancedWindow advanced_;
};

}  // namespace netvane
