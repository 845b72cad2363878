// Adapter discovery against the in-memory registry and windows: which class subkeys become
// adapters, what each record and list holds, and what input arriving mid-scan may not break.
#include "adapters/AdapterDiscovery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "tests/doubles/TestMachine.h"

namespace netvane {

// Readable failures; internal so that other test files may print entries their own way.
static void PrintTo(const ListEntry& entry, std::ostream* out) {
  *out << "{" << entry.primary << ", " << entry.secondary << "}";
}

namespace {

using namespace netvane::testing;
using C = MainControl;
constexpr RootKey HKLM = RootKey::LocalMachine;

// The shell's two services as the main window gives them, recording the busy calls.
class RecordingShell : public Shell {
 public:
  RecordingShell(InputPoll& input, WindowSystem& windows) : input_(input), windows_(windows) {}
  void PollInput() override {
    if (input_.InputWaiting()) input_.DispatchPending();
  }
  void SetBusy(bool busy) override {
    busyCalls.push_back(busy);
    nameAtBusy = windows_.Text(C::机器名框);
    for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) {
      windows_.SetEnabled(button, !busy);
    }
  }
  std::vector<bool> busyCalls;
  std::string nameAtBusy;

 private:
  InputPoll& input_;
  WindowSystem& windows_;
};

std::string Guid(int n) { return "{0000000" + std::to_string(n) + "-AAAA-BBBB-CCCC-DDDDDDDDDDDD}"; }
std::string ClassKey(int n) { return std::string(kAdapterClassKey) + ClassSubkeyName(n); }
std::string TcpipKey(int n) { return std::string(kTcpipInterfacesKey) + Guid(n); }
std::vector<ListEntry> Entries(const OneBasedList<ListEntry>& list) { return list.Items(); }

class AdapterDiscoveryTest : public ::testing::Test, protected TestMachine {
 protected:
  void SetUp() override {
    state.SetRegistryRoots();
    windows.SetHandler(WindowId::Main, [this](const WindowEvent& event) {
      if (event.kind == EventKind::SelectionChange && event.control == static_cast<int>(C::网卡选择框)) {
        discovery.ShowSelectedAdapter();
      }
    });
    windows.OpenModeless(WindowId::Main);
  }

  // A class subkey n that passes the scan, with its connection and a present device.
  void AddAdapter(int n, const std::string& description, const std::string& lowerRange = "ethernet",
                  bool present = true) {
    const std::string key = ClassKey(n);
    registry.PutMulti(HKLM, key + "\\Linkage", "UpperBind", {"Tcpip"});
    if (!lowerRange.empty()) registry.PutText(HKLM, key + "\\Ndi\\Interfaces", "LowerRange", lowerRange);
    registry.PutText(HKLM, key, "DriverDesc", description);
    registry.PutText(HKLM, key, "NetCfgInstanceId", Guid(n));
    registry.PutText(HKLM, key, "MatchingDeviceId", "pci\\ven_" + std::to_string(n));
    const std::string connection = std::string(kNetworkConnectionsKey) + Guid(n) + "\\Connection";
    registry.PutText(HKLM, connection, "Name", "本地连接 " + std::to_string(n));
    const std::string device = "PCI\\VEN_8086&DEV_" + std::to_string(n) + "\\3&1";
    registry.PutText(HKLM, connection, "PnpInstanceID", device);
    registry.CreateKey(HKLM, std::string(kDeviceEnumKey) + device + "\\Control");
    if (present) registry.PutText(HKLM, std::string(kDeviceEnumKey) + device + "\\Control", "ActiveService", "E100B");
  }
  void Static(int n, const std::vector<std::string>& ips, const std::vector<std::string>& masks,
              const std::vector<std::string>& gateways = {},
              const std::vector<std::string>& metrics = {}, const std::string& dns = "") {
    registry.PutNumber(HKLM, TcpipKey(n), "EnableDHCP", 0);
    registry.PutMulti(HKLM, TcpipKey(n), "IPAddress", ips);
    registry.PutMulti(HKLM, TcpipKey(n), "SubnetMask", masks);
    registry.PutMulti(HKLM, TcpipKey(n), "DefaultGateway", gateways);
    registry.PutMulti(HKLM, TcpipKey(n), "DefaultGatewayMetric", metrics);
    registry.PutText(HKLM, TcpipKey(n), "NameServer", dns);
  }
  std::vector<std::string> SelectorItems() {
    std::vector<std::string> items;
    for (int i = 0; i < windows.ItemCount(C::网卡选择框); ++i) items.push_back(windows.Item(C::网卡选择框, i));
    return items;
  }
  std::vector<std::string> CatalogueNames() {
    std::vector<std::string> names;
    for (const AdapterRecord& record : state.adapters) names.push_back(record.driverDescription);
    return names;
  }
  std::vector<std::string> Dns() { return state.config.dnsList.Items(); }
  std::vector<std::string> Boxes() {
    return {windows.Text(C::地址框), windows.Text(C::掩码框), windows.Text(C::网关框),
            windows.Text(C::首选框), windows.Text(C::备用框)};
  }

  SharedState state;
  RecordingShell shell{input, windows};
  MachineIdentity identity{layer};
  AdapterDiscovery discovery{state, services, shell, identity};
};

// ---- Which subkeys become adapters ----

TEST(ClassSubkeyNameTest, FourDigitsUpTo9999ThenAllDigits) {
  EXPECT_EQ(ClassSubkeyName(0), "0000");
  EXPECT_EQ(ClassSubkeyName(12), "0012");
  EXPECT_EQ(ClassSubkeyName(9999), "9999");
  EXPECT_EQ(ClassSubkeyName(10000), "10000");
  EXPECT_EQ(ClassSubkeyName(123456), "123456");
}

TEST_F(AdapterDiscoveryTest, TheFirstSubkeyWithoutUpperBindEndsTheScan) {
  AddAdapter(0, "A");
  AddAdapter(1, "B");
  AddAdapter(3, "D");
  registry.PutText(HKLM, ClassKey(2), "DriverDesc", "C");  // listed, but not bound
  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"A", "B"}));
}

TEST_F(AdapterDiscoveryTest, OnlyALowerRangeOfExactlyEthernetIsAccepted) {
  AddAdapter(0, "wan", "Ethernet");
  AddAdapter(1, "pair", "ethernet,wan");
  AddAdapter(2, "pair reversed", "wan,ethernet");
  AddAdapter(3, "none", "");
  AddAdapter(4, "lan", "ethernet");
  AddAdapter(5, "spaced", "ethernet ");
  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"lan"}));
}

TEST_F(AdapterDiscoveryTest, RemovedCardsAndConnectionsWithoutDeviceAreSkipped) {
  AddAdapter(0, "removed", "ethernet", /*present=*/false);
  AddAdapter(1, "no device");
  registry.PutText(HKLM, std::string(kNetworkConnectionsKey) + Guid(1) + "\\Connection", "PnpInstanceID", "");
  // A device enumerated at the very root must not make an empty PnpInstanceID count.
  registry.PutText(HKLM, std::string(kDeviceEnumKey) + "Control", "ActiveService", "x");
  AddAdapter(2, "present");
  EXPECT_FALSE(discovery.IsAdapterPresent(Guid(0)));
  EXPECT_FALSE(discovery.IsAdapterPresent(Guid(1)));
  EXPECT_FALSE(discovery.IsAdapterPresent("{unknown}"));
  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"present"}));
}

TEST_F(AdapterDiscoveryTest, AcceptedAdaptersFillRecordsAndSelectorInSubkeyOrder) {
  AddAdapter(0, "Realtek RTL8139");
  AddAdapter(1, "Intel PRO/100");
  Static(1, {"10.0.0.2"}, {"255.0.0.0"});
  systemAdapters.adapters = {{"Intel PRO/100", "00-11-22-33-44-55"}};
  discovery.EnumerateAdapters();

  EXPECT_EQ(SelectorItems(), (std::vector<std::string>{"Realtek RTL8139", "Intel PRO/100"}));
  EXPECT_EQ(windows.Selection(C::网卡选择框), 0);
  ASSERT_EQ(state.adapters.Count(), 2u);
  const AdapterRecord& second = state.adapters.At(2);
  EXPECT_EQ(second.instanceId, Guid(1));
  EXPECT_EQ(second.matchingDeviceId, "pci\\ven_1");
  EXPECT_EQ(second.connectionName, "本地连接 1");
  EXPECT_EQ(second.hardwareAddress, "00-11-22-33-44-55");
  EXPECT_EQ(second.ipAddresses, "10.0.0.2");
  EXPECT_EQ(state.adapters.At(1).hardwareAddress, "");
  // The first one is shown.
  EXPECT_EQ(state.config.selectedAdapter, 1u);
  EXPECT_EQ(windows.Text(C::适配器标签), Guid(0));
  EXPECT_EQ(windows.Text(C::本地连接框), "本地连接 0");
  EXPECT_EQ(windows.Text(C::提示标签), "手动配置");
  EXPECT_EQ(systemAdapters.listCalls, 2);  // fetched afresh for every present adapter
}

TEST_F(AdapterDiscoveryTest, SystemAdapterNamesLoseTheSchedulerSuffixButKeepTheirCase) {
  systemAdapters.adapters = {
      {"intel pro/100 - 数据包计划程序微型端口", "11"},
      {"  Intel PRO/100 - 数据包计划程序微型端口 - 数据包计划程序微型端口", "22"},
      {"Intel PRO/100", "33"},
      {"", "44"},
  };
  EXPECT_EQ(discovery.ListSystemAdapters(),
            (std::vector<NamedHardwareAddress>{
                {"intel pro/100", "11"}, {"Intel PRO/100", "22"}, {"Intel PRO/100", "33"}, {"", "44"}}));
  EXPECT_EQ(discovery.LookUpHardwareAddress("Intel PRO/100"), "22");  // the first of two wins
  EXPECT_EQ(discovery.LookUpHardwareAddress("INTEL PRO/100"), "");
}

TEST_F(AdapterDiscoveryTest, NoAcceptedAdapterLeavesThePlaceholderAndThePreviousConfiguration) {
  AddAdapter(0, "A");
  Static(0, {"10.0.0.1"}, {"255.0.0.0"}, {"10.0.0.254"}, {"0"}, "8.8.8.8");
  discovery.EnumerateAdapters();
  const AdapterConfig before = state.config;
  shell.SetBusy(true);
  registry.PutText(HKLM, ClassKey(0) + "\\Ndi\\Interfaces", "LowerRange", "wan");

  discovery.EnumerateAdapters();
  EXPECT_EQ(SelectorItems(), (std::vector<std::string>{"未发现网卡信息"}));
  EXPECT_EQ(windows.Selection(C::网卡选择框), 0);
  EXPECT_TRUE(state.adapters.Empty());
  EXPECT_EQ(windows.Text(C::MAC信息框), "检测中……");
  EXPECT_EQ(windows.Text(C::提示标签), "检测中……");
  EXPECT_TRUE(windows.Enabled(C::刷新按钮));
  EXPECT_EQ(state.config.selectedAdapter, before.selectedAdapter);
  EXPECT_EQ(state.config.addressList, before.addressList);
  EXPECT_EQ(state.config.dnsList, before.dnsList);
  EXPECT_EQ(windows.Text(C::适配器标签), Guid(0));
  EXPECT_EQ(windows.Text(C::地址框), "10.0.0.1");
  // Showing the placeholder does nothing, not even a page change.
  windows.SelectPage(C::功能选择夹, 1);
  windows.Pick(C::网卡选择框, 0);
  EXPECT_EQ(windows.Page(C::功能选择夹), 1);
}

TEST_F(AdapterDiscoveryTest, ARescanReplacesTheCatalogueAndReturnsToTheFirstAdapter) {
  for (int n = 0; n < 3; ++n) AddAdapter(n, "nic" + std::to_string(n));
  Static(0, {"10.0.0.1"}, {"255.0.0.0"});
  Static(2, {"10.0.0.3"}, {"255.0.0.0"});
  discovery.EnumerateAdapters();
  windows.Pick(C::网卡选择框, 2);
  ASSERT_EQ(state.config.selectedAdapter, 3u);
  registry.PutText(HKLM, ClassKey(1), "DriverDesc", "renamed");

  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"nic0", "renamed", "nic2"}));
  EXPECT_EQ(SelectorItems(), CatalogueNames());
  EXPECT_EQ(windows.Selection(C::网卡选择框), 0);
  EXPECT_EQ(state.config.selectedAdapter, 1u);
  EXPECT_EQ(windows.Text(C::地址框), "10.0.0.1");
}

TEST_F(AdapterDiscoveryTest, IdentityIsShownBeforeTheButtonsComeBack) {
  AddAdapter(0, "A");
  registry.PutText(HKLM, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                   "ComputerName", "CAFE-07");
  shell.SetBusy(true);
  std::vector<std::string> statusAtPolls;
  input.onPoll = [&](int) { statusAtPolls.push_back(windows.Text(C::MAC信息框)); };
  discovery.EnumerateAdapters();
  ASSERT_FALSE(statusAtPolls.empty());
  EXPECT_EQ(statusAtPolls.front(), "检测中……");
  EXPECT_EQ(shell.busyCalls, (std::vector<bool>{true, false}));
  EXPECT_EQ(shell.nameAtBusy, "CAFE-07");
  EXPECT_EQ(windows.Text(C::网络号框), "未安装IPX协议");
  EXPECT_TRUE(windows.Enabled(C::高级按钮));
}

// ---- Reading and showing an adapter's settings ----

TEST_F(AdapterDiscoveryTest, StaticAddressesPairWithTheirMasksInOrder) {
  AddAdapter(0, "A");
  Static(0, {"192.168.16.5", "192.168.16.6"}, {"255.255.255.0", "255.255.0.0"});
  discovery.EnumerateAdapters();
  EXPECT_EQ(Entries(state.config.addressList),
            (std::vector<ListEntry>{{"192.168.16.5", "255.255.255.0"}, {"192.168.16.6", "255.255.0.0"}}));
  EXPECT_EQ(windows.Text(C::地址框), "192.168.16.5");
  EXPECT_EQ(windows.Text(C::掩码框), "255.255.255.0");
  EXPECT_EQ(windows.Text(C::提示标签), "手动配置");
}

TEST_F(AdapterDiscoveryTest, CompanionListsOfTheWrongLengthStillGiveOneEntryPerItem) {
  AddAdapter(0, "extra masks");
  Static(0, {"10.0.0.1"}, {"255.0.0.0", "255.255.0.0", "255.255.255.0"});
  AddAdapter(1, "short lists");
  Static(1, {"10.0.0.1", "10.0.0.2"}, {"255.0.0.0"}, {"10.0.0.254", "10.0.0.253"}, {"30"});
  discovery.EnumerateAdapters();
  EXPECT_EQ(Entries(state.config.addressList), (std::vector<ListEntry>{{"10.0.0.1", "255.0.0.0"}}));
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(Entries(state.config.addressList),
            (std::vector<ListEntry>{{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", ""}}));
  EXPECT_EQ(Entries(state.config.gatewayList),
            (std::vector<ListEntry>{{"10.0.0.254", "30"}, {"10.0.0.253", "0"}}));
}

TEST_F(AdapterDiscoveryTest, GatewayMetricsThatReadAsZeroBecomeZeroOthersStayAsStored) {
  AddAdapter(0, "A");
  // A stored empty metric would end the multi-string, so the text form carries it.
  Static(0, {}, {}, {"g1", "g2", "g3", "g4", "g5"});
  registry.PutText(HKLM, TcpipKey(0), "DefaultGatewayMetric", "0\r\n20\r\n\r\nabc\r\n 7");
  discovery.EnumerateAdapters();
  EXPECT_EQ(Entries(state.config.gatewayList),
            (std::vector<ListEntry>{{"g1", "0"}, {"g2", "20"}, {"g3", "0"}, {"g4", "0"}, {"g5", " 7"}}));
  EXPECT_TRUE(state.config.addressList.Empty());
  EXPECT_EQ(windows.Text(C::地址框), "");
  EXPECT_EQ(windows.Text(C::掩码框), "");
}

TEST_F(AdapterDiscoveryTest, StaticNameServersSplitAtCommasOnly) {
  AddAdapter(0, "three");
  Static(0, {"10.0.0.1"}, {"255.0.0.0"}, {}, {}, "1.1.1.1,2.2.2.2,3.3.3.3");
  AddAdapter(1, "none");
  Static(1, {"10.0.0.1"}, {"255.0.0.0"});
  AddAdapter(2, "no comma");
  Static(2, {"10.0.0.1"}, {"255.0.0.0"}, {}, {}, "1.1.1.1 2.2.2.2");
  AddAdapter(3, "untrimmed");
  Static(3, {"10.0.0.1"}, {"255.0.0.0"}, {}, {}, "1.1.1.1, 2.2.2.2,");
  discovery.EnumerateAdapters();
  EXPECT_EQ(Dns(), (std::vector<std::string>{"1.1.1.1", "2.2.2.2", "3.3.3.3"}));
  EXPECT_EQ(windows.Text(C::首选框), "1.1.1.1");
  EXPECT_EQ(windows.Text(C::备用框), "2.2.2.2");
  windows.Pick(C::网卡选择框, 1);
  EXPECT_TRUE(Dns().empty());
  EXPECT_EQ(windows.Text(C::首选框), "");
  EXPECT_EQ(windows.Text(C::备用框), "");
  windows.Pick(C::网卡选择框, 2);
  EXPECT_EQ(Dns(), (std::vector<std::string>{"1.1.1.1 2.2.2.2"}));
  windows.Pick(C::网卡选择框, 3);
  EXPECT_EQ(Dns(), (std::vector<std::string>{"1.1.1.1", " 2.2.2.2"}));
}

TEST_F(AdapterDiscoveryTest, DhcpAdapterReadsItsLeaseAndSplitsItsServersAtSpaces) {
  AddAdapter(0, "A");
  const std::string key = TcpipKey(0);
  registry.PutNumber(HKLM, key, "EnableDHCP", 1);
  registry.PutMulti(HKLM, key, "IPAddress", {"0.0.0.0"});
  registry.PutText(HKLM, key, "DhcpIPAddress", "192.168.1.50");
  registry.PutText(HKLM, key, "DhcpSubnetMask", "255.255.255.0");
  registry.PutMulti(HKLM, key, "DhcpDefaultGateway", {"192.168.1.1"});
  registry.PutMulti(HKLM, key, "DefaultGatewayMetric", {"5"});
  registry.PutText(HKLM, key, "DhcpNameServer", " 192.168.1.1  8.8.8.8 9.9.9.9 ");
  registry.PutNumber(HKLM, key, "InterfaceMetric", 25);
  discovery.EnumerateAdapters();
  const AdapterRecord& record = state.adapters.At(1);
  EXPECT_EQ(record.nameServers, "192.168.1.1,8.8.8.8,9.9.9.9");
  EXPECT_EQ(record.configMode, "通过DHCP指派");
  EXPECT_EQ(Entries(state.config.addressList), (std::vector<ListEntry>{{"192.168.1.50", "255.255.255.0"}}));
  EXPECT_EQ(Entries(state.config.gatewayList), (std::vector<ListEntry>{{"192.168.1.1", "5"}}));
  EXPECT_EQ(Dns(), (std::vector<std::string>{"192.168.1.1", "8.8.8.8", "9.9.9.9"}));
  EXPECT_EQ(state.config.interfaceMetric, "25");
  EXPECT_EQ(windows.Text(C::提示标签), "通过DHCP指派");
}

TEST_F(AdapterDiscoveryTest, UnknownDhcpModeEmptiesEverySettingOfThatAdapter) {
  AddAdapter(0, "static");
  Static(0, {"10.0.0.1"}, {"255.0.0.0"}, {"10.0.0.254"}, {}, "8.8.8.8,8.8.4.4");
  registry.PutNumber(HKLM, TcpipKey(0), "InterfaceMetric", 9);
  AddAdapter(1, "odd");
  Static(1, {"10.0.0.2"}, {"255.0.0.0"}, {"10.0.0.254"}, {}, "8.8.8.8");
  registry.PutNumber(HKLM, TcpipKey(1), "EnableDHCP", 2);
  discovery.EnumerateAdapters();  // the scratch record held adapter 0's settings just before
  const AdapterRecord& odd = state.adapters.At(2);
  EXPECT_EQ(odd.ipAddresses + odd.subnetMasks + odd.gateways + odd.gatewayMetrics + odd.nameServers +
                odd.interfaceMetric + odd.configMode,
            "");
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"", "", "", "", ""}));
  EXPECT_EQ(windows.Text(C::提示标签), "");
  EXPECT_EQ(state.config.interfaceMetric, "");
}

TEST_F(AdapterDiscoveryTest, AbsentEnableDhcpMeansStaticAndAbsentMetricMeansAutomatic) {
  AddAdapter(0, "A");
  registry.PutMulti(HKLM, TcpipKey(0), "IPAddress", {"10.1.1.1"});
  discovery.EnumerateAdapters();
  EXPECT_EQ(state.adapters.At(1).configMode, "手动配置");
  EXPECT_EQ(state.adapters.At(1).ipAddresses, "10.1.1.1");
  EXPECT_EQ(discovery.ReadInterfaceMetric(Guid(0)), "");
  registry.PutNumber(HKLM, TcpipKey(0), "InterfaceMetric", 0);
  EXPECT_EQ(discovery.ReadInterfaceMetric(Guid(0)), "");
  registry.PutNumber(HKLM, TcpipKey(0), "InterfaceMetric", 25);
  EXPECT_EQ(discovery.ReadInterfaceMetric(Guid(0)), "25");
}

TEST_F(AdapterDiscoveryTest, PickingAnAdapterShowsItOnPageZeroAndDiscardsUnappliedEdits) {
  AddAdapter(0, "A");
  Static(0, {"10.0.0.1"}, {"255.0.0.0"});
  AddAdapter(1, "B");
  Static(1, {"10.0.0.2", "10.0.0.3"}, {"255.255.0.0", "255.255.255.0"}, {"10.0.0.254"}, {},
         "1.1.1.1,2.2.2.2,3.3.3.3");
  registry.PutNumber(HKLM, TcpipKey(1), "InterfaceMetric", 40);
  systemAdapters.adapters = {{"B", "00-0B"}};
  discovery.EnumerateAdapters();
  windows.SelectPage(C::功能选择夹, 1);

  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(state.config.selectedAdapter, 2u);
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);
  EXPECT_EQ(windows.Text(C::适配器标签), Guid(1));
  EXPECT_EQ(windows.Text(C::本地连接框), "本地连接 1");
  EXPECT_EQ(windows.Text(C::MAC信息框), "00-0B");
  EXPECT_EQ(state.config.interfaceMetric, "40");
  EXPECT_EQ(Dns().size(), 3u);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"10.0.0.2", "255.255.0.0", "10.0.0.254", "1.1.1.1", "2.2.2.2"}));

  state.config.addressList.Replace(1, ListEntry{"9.9.9.9", "255.0.0.0"});
  state.config.interfaceMetric = "1";
  windows.SetText(C::地址框, "9.9.9.9");
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(state.config.addressList.At(1), (ListEntry{"10.0.0.2", "255.255.0.0"}));
  EXPECT_EQ(state.config.interfaceMetric, "40");
  EXPECT_EQ(windows.Text(C::地址框), "10.0.0.2");
}

// ---- Input that arrives while a scan or a list build runs ----

class AdapterDiscoveryReentryTest : public AdapterDiscoveryTest {
 protected:
  void SetUp() override {
    AdapterDiscoveryTest::SetUp();
    AddAdapter(0, "first");
    Static(0, {"10.0.0.1", "10.0.0.2", "10.0.0.3"}, {"255.0.0.0", "255.0.0.0", "255.0.0.0"},
           {"10.0.0.254", "10.0.0.253"}, {"0", "10"}, "10.0.0.53,10.0.0.54");
    AddAdapter(1, "second");
    Static(1, {"172.16.0.1", "172.16.0.2"}, {"255.255.0.0", "255.255.0.0"}, {"172.16.0.254"},
           {"5"}, "172.16.0.53");
    AddAdapter(2, "third");
    Static(2, {"192.168.0.1"}, {"255.255.255.0"});
  }
  // Queues `event` once, at the first poll where `when` holds.
  void InjectOnce(std::function<bool()> when, std::function<void()> event) {
    input.onPoll = [this, when, event, fired = false](int) mutable {
      if (fired || !when()) return;
      fired = true;
      input.Queue(event);
    };
  }
  // Queues `event` once, at the `poll`th poll from now. Showing an adapter polls once before
  // its lists are built, once after each of the five splits, and before and after each entry.
  void InjectAtPoll(int poll, std::function<void()> event) {
    const int from = input.polls;
    input.onPoll = [this, from, poll, event](int at) {
      if (at - from == poll) input.Queue(event);
    };
  }
  void ExpectShowing(int n, const std::vector<ListEntry>& addresses) {
    EXPECT_EQ(state.config.selectedAdapter, static_cast<std::size_t>(n + 1));
    EXPECT_EQ(windows.Text(C::适配器标签), Guid(n));
    EXPECT_EQ(Entries(state.config.addressList), addresses);
    EXPECT_EQ(windows.Text(C::地址框), addresses.front().primary);
  }
};

TEST_F(AdapterDiscoveryReentryTest, SelectorAndCatalogueAgreeAtEveryPollOfAScan) {
  int scanPolls = 0;
  input.onPoll = [&](int) {
    if (windows.Text(C::提示标签) != "检测中……") return;
    ++scanPolls;
    EXPECT_EQ(SelectorItems(), CatalogueNames());
  };
  discovery.EnumerateAdapters();
  EXPECT_GE(scanPolls, 6);
}

TEST_F(AdapterDiscoveryReentryTest, AScanStartedInsideAScanLeavesOneWholeCatalogue) {
  InjectOnce([&] { return state.adapters.Count() == 1; }, [&] { discovery.EnumerateAdapters(); });
  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"first", "second", "third"}));
  EXPECT_EQ(SelectorItems(), CatalogueNames());
  EXPECT_EQ(windows.Selection(C::网卡选择框), 0);
  EXPECT_EQ(std::count(shell.busyCalls.begin(), shell.busyCalls.end(), false), 1);
  ExpectShowing(0, {{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", "255.0.0.0"}, {"10.0.0.3", "255.0.0.0"}});
  EXPECT_EQ(state.config.gatewayList.Count(), 2u);
  EXPECT_EQ(Dns().size(), 2u);
}

TEST_F(AdapterDiscoveryReentryTest, APickDuringAListBuildLeavesOnlyThePickedAdaptersLists) {
  discovery.EnumerateAdapters();
  InjectAtPoll(8, [&] { windows.Pick(C::网卡选择框, 1); });  // after the first address
  windows.Pick(C::网卡选择框, 0);
  ExpectShowing(1, {{"172.16.0.1", "255.255.0.0"}, {"172.16.0.2", "255.255.0.0"}});
  EXPECT_EQ(Entries(state.config.gatewayList), (std::vector<ListEntry>{{"172.16.0.254", "5"}}));
  EXPECT_EQ(Dns(), (std::vector<std::string>{"172.16.0.53"}));
  EXPECT_EQ(Boxes(), (std::vector<std::string>{"172.16.0.1", "255.255.0.0", "172.16.0.254", "172.16.0.53", ""}));
}

TEST_F(AdapterDiscoveryReentryTest, ARefreshDuringAListBuildShowsTheFirstAdapterWhole) {
  discovery.EnumerateAdapters();
  InjectAtPoll(10, [&] { discovery.EnumerateAdapters(); });  // after both addresses
  windows.Pick(C::网卡选择框, 1);
  ExpectShowing(0, {{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", "255.0.0.0"}, {"10.0.0.3", "255.0.0.0"}});
  EXPECT_EQ(Entries(state.config.gatewayList),
            (std::vector<ListEntry>{{"10.0.0.254", "0"}, {"10.0.0.253", "10"}}));
}

TEST_F(AdapterDiscoveryReentryTest, AScanThatFindsNothingLeavesTheListsAsTheyWereBeforeTheBuild) {
  discovery.EnumerateAdapters();
  InjectAtPoll(8, [&] {  // after the second adapter's first address
    layer.DeleteRegistryValue(HKLM, ClassKey(0) + "\\Linkage\\UpperBind");
    discovery.EnumerateAdapters();
  });
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(SelectorItems(), (std::vector<std::string>{"未发现网卡信息"}));
  EXPECT_TRUE(state.adapters.Empty());
  EXPECT_EQ(Entries(state.config.addressList),
            (std::vector<ListEntry>{{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", "255.0.0.0"},
                                    {"10.0.0.3", "255.0.0.0"}}));
  EXPECT_EQ(Entries(state.config.gatewayList),
            (std::vector<ListEntry>{{"10.0.0.254", "0"}, {"10.0.0.253", "10"}}));
  EXPECT_EQ(windows.Text(C::地址框), "10.0.0.1");
}

TEST_F(AdapterDiscoveryReentryTest, APickDuringAScanIsFollowedByTheFirstAdapter) {
  InjectOnce([&] { return state.adapters.Count() == 2; }, [&] { windows.Pick(C::网卡选择框, 1); });
  discovery.EnumerateAdapters();
  EXPECT_EQ(CatalogueNames(), (std::vector<std::string>{"first", "second", "third"}));
  ExpectShowing(0, {{"10.0.0.1", "255.0.0.0"}, {"10.0.0.2", "255.0.0.0"}, {"10.0.0.3", "255.0.0.0"}});
}

}  // namespace
}  // namespace netvane
