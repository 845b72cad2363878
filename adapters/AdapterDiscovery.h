#pragma once
// Finding the present Ethernet adapters in the registry, reading each one's TCP/IP settings
// and showing the selected one in the main window.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/Model.h"
#include "config/Services.h"
#include "config/MachineIdentity.h"

namespace netvane {

// The selector's only item when no adapter was accepted.
inline constexpr std::string_view kNoAdapterFound = "未发现网卡信息";
// 提示标签 and MAC信息框 while a scan runs.
inline constexpr std::string_view kDetecting = "检测中……";
inline constexpr std::string_view kStaticMode = "手动配置";
inline constexpr std::string_view kDhcpMode = "通过DHCP指派";

// One adapter of the operating system's list: its instance id, its name as DriverDesc spells
// it, its MAC.
struct NamedHardwareAddress {
  std::string adapterName;
  std::string name;
  std::string hardwareAddress;
  friend bool operator==(const NamedHardwareAddress&, const NamedHardwareAddress&) = default;
};

// The adapter subkeys among a class key's subkeys (the all-digit names), in numeric order.
std::vector<std::string> AdapterSubkeys(std::vector<std::string> names);
// The MAC of the system adapter whose instance id is `instanceId`; failing that, of the first
// one named exactly `driverDescription`; empty when none. Two cards of one model share the
// description (Windows numbers the second "... #2"), so the id must come first.
std::string LookUpHardwareAddress(const std::vector<NamedHardwareAddress>& system,
                                  std::string_view instanceId, std::string_view driverDescription);

class AdapterDiscovery {
 public:
  AdapterDiscovery(SharedState& state, Services& services, Shell& shell, MachineIdentity& identity);

  // Rebuilds the catalogue and the selector, shows the machine identity, ends the busy state
  // and shows the first adapter.
  void EnumerateAdapters();
  // True when the adapter's device has an active driver service, i.e. the card is still there.
  bool IsAdapterPresent(std::string_view instanceId);
  // The system's adapters with the packet-scheduler suffix taken off their names, in its order.
  std::vector<NamedHardwareAddress> ListSystemAdapters();
  // Fills the addressing fields of `record` (whose instanceId is set) from its TCP/IP key.
  void ReadAddressingSettings(AdapterRecord& record);
  // The adapter's interface metric as decimal text; empty for automatic (0 or absent).
  std::string ReadInterfaceMetric(std::string_view instanceId);
  // Shows the selector's current adapter on page 0 and rebuilds the lists from its record.
  void ShowSelectedAdapter();
  // Rebuilds the address, gateway and DNS lists from the record at `position` (from 1) and
  // shows their first entries.
  void BuildAdapterLists(std::size_t position);

 private:
  // True when the device the open connection key names has an active driver service.
  bool IsDevicePresent(KeyReader& connection);
  // Input dispatched by a poll may start another scan or show; a run that finds its
  // generation moved on leaves everything to the newer one.
  bool ScanSuperseded(unsigned scan) const { return scan != scanGeneration_; }
  bool ShowSuperseded(unsigned show) const { return show != showGeneration_; }

  SharedState& state_;
  Services& services_;
  Shell& shell_;
  MachineIdentity& identity_;
  unsigned scanGeneration_ = 0;
  unsigned showGeneration_ = 0;
};

}  // namespace netvane
