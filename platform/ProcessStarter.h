#pragma once
// The process seam: start a command line, optionally wait for it.
#include <functional>
#include <string>

namespace netvane {

enum class WindowMode { Hidden, Shown };
enum class WaitMode { NoWait, WaitForExit };

// What to start. `program` is the executable's full path (empty: the first word of the command
// line, searched for as Windows does); `directory` the working directory (empty: ours).
struct ProcessRequest {
  std::string program;
  std::string commandLine;
  std::string directory;
  WindowMode window = WindowMode::Hidden;
  WaitMode wait = WaitMode::NoWait;
};

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts the process; false when none could be started. With WaitForExit it returns once
  // the process has ended, with no time limit, calling `whileWaiting` whenever a message
  // arrives (and at least every 100 ms) so that the caller can keep its windows responsive.
  virtual bool Start(const ProcessRequest& request,
                     const std::function<void()>& whileWaiting = {}) = 0;
};

}  // namespace netvane
