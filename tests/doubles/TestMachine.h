#pragma once
// Every in-memory seam at once, wired into the Services the behaviour takes: a machine for a
// test to seed and inspect.
#include "app/Layout.h"
#include "config/Services.h"
#include "tests/doubles/Fakes.h"
#include "tests/doubles/MemoryFileSystem.h"
#include "tests/doubles/MemoryIniFile.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace netvane::testing {

struct TestMachine {
  MemoryRegistry registry;
  RegistryLayer layer{registry};
  MemoryFileSystem files;
  MemoryIniFile ini{files};
  FakeProcessStarter processes;
  FakeSystemAdapters systemAdapters;
  FakeClock clock;
  FakeInputPoll input;
  MemoryWindowSystem windows{LayoutOf};
  Services services{layer, ini, files, processes, systemAdapters, clock, input, windows};

  static constexpr RootKey HKLM = RootKey::LocalMachine;
  static std::string ClassKey(int n) {
    const std::string digits = std::to_string(n);
    return kAdapterClassKey + std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
  }
  static std::string Guid(int n) { return "{0000000" + std::to_string(n) + "-AAAA-BBBB-CCCC-DDDDDDDDDDDD}"; }
  static std::string TcpipKey(int n) { return kTcpipInterfacesKey + Guid(n); }
  // Class subkey n as a present card bound to TCP/IP with instance id Guid(n), its connection
  // named "本地连接 n" and its device id "pci\ven_n". Gives its TCP/IP interface key.
  std::string SeedAdapter(int n, const std::string& description = "nic", const std::string& lowerRange = "ethernet",
                          bool present = true) {
    const std::string key = ClassKey(n), guid = Guid(n), device = "PCI\\DEV_" + std::to_string(n) + "\\3&1";
    const std::string connection = kNetworkConnectionsKey + guid + "\\Connection";
    registry.PutMulti(HKLM, key + "\\Linkage", "UpperBind", {"Tcpip"});
    if (!lowerRange.empty()) registry.PutText(HKLM, key + "\\Ndi\\Interfaces", "LowerRange", lowerRange);
    registry.PutText(HKLM, key, "DriverDesc", description);
    registry.PutText(HKLM, key, "NetCfgInstanceId", guid);
    registry.PutText(HKLM, key, "MatchingDeviceId", "pci\\ven_" + std::to_string(n));
    registry.PutText(HKLM, connection, "Name", "本地连接 " + std::to_string(n));
    registry.PutText(HKLM, connection, "PnpInstanceID", device);
    registry.CreateKey(HKLM, kDeviceEnumKey + device + "\\Control");
    if (present) registry.PutText(HKLM, kDeviceEnumKey + device + "\\Control", "ActiveService", "E1");
    return TcpipKey(n);
  }
  void SeedStatic(int n, const std::vector<std::string>& ips,
                  const std::vector<std::string>& masks, const std::vector<std::string>& gateways = {},
                  const std::vector<std::string>& metrics = {}, const std::string& dns = "") {
    const std::string tcpip = TcpipKey(n);
    registry.PutNumber(HKLM, tcpip, "EnableDHCP", 0);
    registry.PutMulti(HKLM, tcpip, "IPAddress", ips);
    registry.PutMulti(HKLM, tcpip, "SubnetMask", masks);
    registry.PutMulti(HKLM, tcpip, "DefaultGateway", gateways);
    registry.PutMulti(HKLM, tcpip, "DefaultGatewayMetric", metrics);
    registry.PutText(HKLM, tcpip, "NameServer", dns);
  }
  // The keys the identity writes into (they exist on every Windows), holding the computer name
  // `name` in both control sets; the IPX service; the Winlogon key unless `logon` is false.
  void SeedIdentityKeys(const std::string& name = "PC01", bool logon = true) {
    for (const char* set : {"CurrentControlSet", "ControlSet001"}) {
      const std::string root = std::string("SYSTEM\\") + set;
      registry.PutText(HKLM, root + "\\Control\\ComputerName\\ComputerName", "ComputerName", name);
      registry.PutText(HKLM, root + "\\Services\\Tcpip\\Parameters", "NV Hostname", name);
    }
    registry.CreateKey(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\Parameters");
    registry.PutText(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx", "DisplayName", "IPX");
    if (logon) registry.CreateKey(HKLM, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon");
  }
  std::string Stored(const std::string& key, const char* name, RootKey root = HKLM) {
    const auto value = registry.Get(root, key, name);
    return value ? value->data : "<absent>";
  }
};

}  // namespace netvane::testing
