// Enumeration and display over a registry built from the input: any value types and sizes,
// missing keys, unterminated and oversized multi-strings, thousands of class subkeys.
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

#include "fuzz/Machine.h"

namespace {

using namespace netvane;
constexpr RootKey HKLM = RootKey::LocalMachine;

const char* const kGuids[] = {"{A}", "{B}", "{C}", ""};
const char* const kDevices[] = {"PCI\\VEN_1", "PCI\\VEN_2", ""};
// Where each value lives: 0 the class subkey, 1 its Linkage, 2 its Ndi\Interfaces,
// 3 the connection, 4 the TCP/IP interface, 5 the device, 6 and 7 the machine identity.
struct Slot {
  int place;
  const char* name;
};
const Slot kSlots[] = {
    {1, "UpperBind"},        {2, "LowerRange"},       {0, "DriverDesc"},
    {0, "NetCfgInstanceId"}, {0, "MatchingDeviceId"}, {3, "Name"},
    {3, "PnpInstanceID"},    {5, "ActiveService"},    {4, "EnableDHCP"},
    {4, "IPAddress"},        {4, "SubnetMask"},       {4, "DefaultGateway"},
    {4, "NameServer"},       {4, "DefaultGatewayMetric"}, {4, "InterfaceMetric"},
    {4, "DhcpIPAddress"},    {4, "DhcpSubnetMask"},   {4, "DhcpDefaultGateway"},
    {4, "DhcpNameServer"},   {6, "ComputerName"},     {7, "VirtualNetworkNumber"},
};

std::string PlacePath(int place, const std::string& subkey, const std::string& guid,
                      const std::string& device) {
  const std::string key = std::string(kAdapterClassKey) + subkey;
  switch (place) {
    case 0: return key;
    case 1: return key + "\\Linkage";
    case 2: return key + "\\Ndi\\Interfaces";
    case 3: return std::string(kNetworkConnectionsKey) + guid + "\\Connection";
    case 4: return std::string(kTcpipInterfacesKey) + guid;
    case 5: return std::string(kDeviceEnumKey) + device + "\\Control";
    case 6: return "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName";
    default: return "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\Parameters";
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FuzzedDataProvider in(data, size);
  fuzzing::FuzzMachine m;
  std::string subkey = "0000";
  int copies = 0;
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange(0, 4)) {
      case 0:
        subkey = in.ConsumeBool() ? in.ConsumeRandomLengthString(12)
                                  : std::to_string(in.ConsumeIntegralInRange(0, 99999));
        m.registry.CreateKey(HKLM, std::string(kAdapterClassKey) + subkey);
        break;
      case 1: {  // one value anywhere, of any type and size, perhaps very long
        const Slot& slot = kSlots[in.ConsumeIntegralInRange<size_t>(0, std::size(kSlots) - 1)];
        const std::string guid = in.PickValueInArray(kGuids);
        const std::string device = in.PickValueInArray(kDevices);
        const auto type = in.ConsumeIntegralInRange<std::uint32_t>(0, 11);
        std::string bytes = in.ConsumeRandomLengthString(64);
        if (in.ConsumeBool()) bytes = std::string(in.ConsumeIntegralInRange(0, 70000), bytes.empty() ? 'x' : bytes[0]);
        m.registry.Put(HKLM, PlacePath(slot.place, subkey, guid, device), slot.name, type, bytes);
        break;
      }
      case 2: {  // copies of the current subkey's values under many other numbers
        int count = in.ConsumeIntegralInRange(0, 63);
        if (in.ConsumeBool()) count *= 64;
        struct Copied {
          const char* sub;
          const char* name;
          RegistryValue value;
        };
        std::vector<Copied> values;
        const std::string from = std::string(kAdapterClassKey) + subkey;
        for (const char* sub : {"", "\\Linkage", "\\Ndi\\Interfaces"}) {
          for (const Slot& slot : kSlots) {
            if (auto value = m.registry.Get(HKLM, from + sub, slot.name)) {
              values.push_back({sub, slot.name, *value});
            }
          }
        }
        for (int i = 0; i < count && copies < 4096; ++i, ++copies) {
          const std::string to = std::string(kAdapterClassKey) + std::to_string(10000 + copies);
          for (const Copied& c : values) m.registry.Put(HKLM, to + c.sub, c.name, c.value.type, c.value.data);
        }
        break;
      }
      case 3:  // an adapter of the system's own list
        m.systemAdapters.adapters.push_back({in.PickValueInArray(kGuids),
                                             in.ConsumeRandomLengthString(64),
                                             in.ConsumeRandomLengthString(24)});
        break;
      default:
        m.registry.Put(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx", "DisplayName",
                       in.ConsumeIntegralInRange<std::uint32_t>(0, 11), in.ConsumeRandomLengthString(8));
        break;
    }
  }
  m.discovery.EnumerateAdapters();
  // Show every adapter found, as picking each in turn does.
  const int count = m.windows.ItemCount(MainControl::网卡选择框);
  for (int i = 0; i < count && i < 64; ++i) {
    m.windows.Select(MainControl::网卡选择框, i);
    m.discovery.ShowSelectedAdapter();
  }
  return 0;
}
