#pragma once
// The operating system's own list of network adapters.
#include <string>
#include <vector>

namespace netvane {

struct SystemAdapter {
  std::string adapterName;  // the adapter's instance id, "{GUID}"
  std::string description;
  std::string hardwareAddress;  // "00-1A-2B-3C-4D-5E"
};

class SystemAdapters {
 public:
  virtual ~SystemAdapters() = default;
  // One record per adapter, in the order the system gives them.
  virtual std::vector<SystemAdapter> List() = 0;
};

}  // namespace netvane
