#pragma once
// The process seam: start a command line, optionally wait for it.
#include <functional>
#include <string>

namespace netvane {

enum class WindowMode { Hidden, Shown };
enum class WaitMode { NoWait, WaitForExit };

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts the command line; false when no process could be started. With WaitForExit it
  // returns once the process has ended, calling `whileWaiting` now and then meanwhile so that
  // the caller can keep its windows responsive.
  virtual bool Start(const std::string& commandLine, WindowMode window, WaitMode wait,
                     const std::function<void()>& whileWaiting = {}) = 0;
};

}  // namespace netvane
