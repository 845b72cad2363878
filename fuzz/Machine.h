#pragma once
// The behaviour over the in-memory machine, wired as the main window wires it.
#include "adapters/AdapterDiscovery.h"
#include "apply/AdapterApply.h"
#include "quicksetup/QuickSetup.h"
#include "tests/doubles/TestMachine.h"

namespace netvane::fuzzing {

struct FuzzMachine : testing::TestMachine, Shell {
  void PollInput() override {
    if (input.InputWaiting()) input.DispatchPending();
  }
  void SetBusy(bool) override {}

  SharedState state;
  MachineIdentity identity{layer};
  AdapterDiscovery discovery{state, services, *this, identity};
  AdapterApply apply{state, services, *this, identity, discovery};
  QuickSetup quick{state, services, *this, apply};

  FuzzMachine() {
    windows.SetHandler(WindowId::Main, [this](const WindowEvent& event) {
      if (event.kind == EventKind::SelectionChange &&
          event.control == static_cast<int>(MainControl::网卡选择框)) {
        discovery.ShowSelectedAdapter();
      }
    });
    windows.OpenModeless(WindowId::Main);
  }
};

}  // namespace netvane::fuzzing
