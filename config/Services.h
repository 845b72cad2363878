#pragma once
// What the behaviour reaches the machine through: one object per seam, and the shell's own
// two services that every long action needs.
#include "config/RegistryLayer.h"
#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/InputPoll.h"
#include "platform/ProcessStarter.h"
#include "platform/SystemAdapters.h"
#include "platform/WindowSystem.h"

namespace netvane {

struct Services {
  RegistryLayer& registry;
  IniFile& ini;
  FileSystem& files;
  ProcessStarter& processes;
  SystemAdapters& systemAdapters;
  Clock& clock;
  InputPoll& input;
  WindowSystem& windows;
};

// The main window's busy state and input poll, offered to the actions it runs.
class Shell {
 public:
  virtual ~Shell() = default;
  // GetInputState; when input waits, every pending message is dispatched to its handler.
  virtual void PollInput() = 0;
  // Disables (true) or enables (false) the four action buttons.
  virtual void SetBusy(bool busy) = 0;
  // While the exit is held, the operator's exit only waits; letting go of the hold then ends the
  // program. A shell that never ends the program has nothing to hold.
  virtual void HoldExit(bool /*hold*/) {}
};

}  // namespace netvane
