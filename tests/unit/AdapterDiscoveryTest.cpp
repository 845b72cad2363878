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

namespace {

using namespace netvane::testing;
using C = MainControl;

// The shell as the main window gives it, recording each busy call and what page 0 showed then.
struct RecordingShell : Shell {
  RecordingShell(InputPoll& input, WindowSystem& windows) : input(input), windows(windows) {}
  void PollInput() override {
    if (input.InputWaiting()) input.DispatchPending();
  }
  void SetBusy(bool busy) override {
    busyCalls.push_back(busy);
    shownAtBusy = windows.Text(C::机器名框) + "|" + windows.Text(C::地址框);
    for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) windows.SetEnabled(button, !busy);
  }
  InputPoll& input;
  WindowSystem& windows;
  std::vector<bool> busyCalls;
  std::string shownAtBusy;
};

class AdapterDiscoveryTest : public ::testing::Test, protected TestMachine {
 protected:
  void SetUp() override {
    windows.SetHandler(WindowId::Main, [this](const WindowEvent& event) {
      if (event.kind == EventKind::SelectionChange && event.control == static_cast<int>(C::网卡选择框)) {
        discovery.ShowSelectedAdapter();
      }
    });
    windows.OpenModeless(WindowId::Main);
  }
  std::string Selector() {
    std::string items;
    for (int i = 0; i < windows.ItemCount(C::网卡选择框); ++i) items += windows.Item(C::网卡选择框, i) + "|";
    return items;
  }
  std::string Catalogue() {
    std::string names;
    for (const AdapterRecord& record : state.adapters) names += record.driverDescription + "|";
    return names;
  }
  // Page 0's five boxes as the operator reads them.
  std::string Boxes() {
    std::string text;
    for (C box : {C::地址框, C::掩码框, C::网关框, C::首选框, C::备用框}) text += windows.Text(box) + "|";
    return text;
  }
  // The lists behind the boxes: address/mask pairs; gateway/metric pairs; DNS servers.
  std::string Lists() {
    std::string text;
    for (const ListEntry& entry : state.config.addressList) text += entry.primary + "/" + entry.secondary + " ";
    text += ";";
    for (const ListEntry& entry : state.config.gatewayList) text += " " + entry.primary + "/" + entry.secondary;
    text += " ;";
    for (const std::string& server : state.config.dnsList) text += " " + server;
    return text;
  }

  SharedState state;
  RecordingShell shell{input, windows};
  MachineIdentity identity{layer};
  AdapterDiscovery discovery{state, services, shell, identity};
};

// ---- Which subkeys become adapters ----

TEST_F(AdapterDiscoveryTest, EveryNumberedSubkeyIsVisitedInOrderAndOnlyPresentEthernetCardsAreKept) {
  SeedAdapter(0, "wan", "Ethernet");
  SeedAdapter(1, "pair", "ethernet,wan");
  SeedAdapter(2, "spaced", "ethernet ");
  SeedAdapter(3, "none", "");
  SeedAdapter(5, "removed", "ethernet", /*present=*/false);
  SeedAdapter(6, "no device");
  registry.PutText(HKLM, std::string(kNetworkConnectionsKey) + Guid(6) + "\\Connection", "PnpInstanceID", "");
  registry.PutText(HKLM, std::string(kDeviceEnumKey) + "Control", "ActiveService", "x");  // the root
  registry.PutText(HKLM, ClassKey(7), "DriverDesc", "unbound");  // no Linkage\UpperBind: passed over
  SeedAdapter(10, "after the gap");
  SeedAdapter(9, "nine");
  registry.CreateKey(HKLM, std::string(kAdapterClassKey) + "Properties");
  EXPECT_FALSE(discovery.IsAdapterPresent("{unknown}"));
  discovery.EnumerateAdapters();
  EXPECT_EQ(Catalogue(), "nine|after the gap|");
  EXPECT_EQ(AdapterSubkeys({"10000", "9999", "Properties", "", "0010", "1234567890", "123456789"}),
            (std::vector<std::string>{"0010", "9999", "10000", "123456789"}));
}

TEST_F(AdapterDiscoveryTest, RecordsFillTheSelectorAndTheFirstIsShownWithItsHardwareAddress) {
  SeedAdapter(0, "Realtek RTL8139");
  SeedAdapter(1, "Intel PRO/100");
  SeedAdapter(2, "Intel PRO/100");
  SeedStatic(1, {"10.0.0.2"}, {"255.0.0.0"});
  // Two cards of one model: the second found by its instance id, not by the shared name.
  systemAdapters.adapters = {{"{other}", "Intel PRO/100 - 数据包计划程序微型端口", "00-11"},
                             {Guid(2), "Intel PRO/100 #2", "00-22"}};
  discovery.EnumerateAdapters();
  EXPECT_EQ(Selector(), "Realtek RTL8139|Intel PRO/100|Intel PRO/100|");
  EXPECT_EQ(windows.Selection(C::网卡选择框), 0);
  const AdapterRecord& second = state.adapters.At(2);
  EXPECT_EQ(second.instanceId + second.matchingDeviceId + second.connectionName + second.ipAddresses,
            Guid(1) + "pci\\ven_1本地连接 110.0.0.2");
  EXPECT_EQ(state.adapters.At(1).hardwareAddress + "|" + second.hardwareAddress + "|" + state.adapters.At(3).hardwareAddress,
            "|00-11|00-22");
  EXPECT_EQ(systemAdapters.listCalls, 1);  // once per scan, not once per adapter
  EXPECT_EQ(state.config.selectedAdapter, 1u);
  EXPECT_EQ(windows.Text(C::适配器标签) + windows.Text(C::本地连接框) + windows.Text(C::提示标签),
            Guid(0) + "本地连接 0手动配置");
  systemAdapters.adapters = {{"", "  Intel PRO/100 - 数据包计划程序微型端口 - 数据包计划程序微型端口", "22"}};
  EXPECT_EQ(discovery.ListSystemAdapters(), (std::vector<NamedHardwareAddress>{{"", "Intel PRO/100", "22"}}));
  EXPECT_EQ(LookUpHardwareAddress(discovery.ListSystemAdapters(), "", "INTEL PRO/100"), "");
}

TEST_F(AdapterDiscoveryTest, ARescanReturnsToTheFirstAdapterAfterTheIdentityIsShown) {
  for (int n = 0; n < 3; ++n) SeedAdapter(n, "nic" + std::to_string(n));
  SeedStatic(0, {"10.0.0.1"}, {"255.0.0.0"});
  registry.PutText(HKLM, "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName", "ComputerName", "CAFE-07");
  const auto ipx = [&] {
    return std::tuple(windows.Text(C::网络号框), windows.ReadOnly(C::网络号框), windows.TextColor(C::网络号框));
  };
  discovery.EnumerateAdapters();
  EXPECT_EQ(ipx(), std::tuple("未安装IPX协议", true, kRed));
  windows.Pick(C::网卡选择框, 2);
  registry.PutText(HKLM, ClassKey(1), "DriverDesc", "renamed");
  registry.PutText(HKLM, "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx", "DisplayName", "IPX");
  shell.SetBusy(true);
  std::vector<std::string> shownAtPolls;  // the MAC box and the status
  input.onPoll = [&](int) { shownAtPolls.push_back(windows.Text(C::MAC信息框) + windows.Text(C::提示标签)); };
  discovery.EnumerateAdapters();
  EXPECT_EQ(shownAtPolls.front(), "检测中……检测中……");
  EXPECT_EQ(shell.busyCalls, (std::vector<bool>{false, true, false}));
  EXPECT_EQ(shell.shownAtBusy, "CAFE-07|10.0.0.1");  // the adapter is shown whole before any action
  EXPECT_EQ(ipx(), std::tuple("0", false, kBlue));
  EXPECT_EQ(Catalogue(), "nic0|renamed|nic2|");
  EXPECT_EQ(state.config.selectedAdapter, 1u);
}

// ---- Reading and showing an adapter's settings ----

TEST_F(AdapterDiscoveryTest, NameServersSplitAtCommasAndAtSpacesBetweenTwoServers) {
  const std::pair<const char*, const char*> rows[] = {
      {"1.1.1.1  2.2.2.2", "; ; 1.1.1.1 2.2.2.2"}, {"", "; ;"},  // spaces, as Windows takes them too
      {"1.1.1.1,2.2.2.2,3.3.3.3", "; ; 1.1.1.1 2.2.2.2 3.3.3.3"}, {"1.1.1.1, 2.2.2.2,", "; ; 1.1.1.1  2.2.2.2"},
      {",1.1.1.1 2.2.2.2 ,3.3.3.3", "; ;  1.1.1.1 2.2.2.2 3.3.3.3"}};  // both, as Windows takes them
  for (int n = 0; n < 5; ++n) {
    SeedAdapter(n, "nic");
    SeedStatic(n, {}, {}, {}, {}, rows[n].first);
  }
  SeedAdapter(5, "leased");
  const std::string key = TcpipKey(5);
  registry.PutNumber(HKLM, key, "EnableDHCP", 1);
  registry.PutMulti(HKLM, key, "IPAddress", {"0.0.0.0"});
  registry.PutText(HKLM, key, "DhcpIPAddress", "192.168.1.50");
  registry.PutText(HKLM, key, "DhcpSubnetMask", "255.255.255.0");
  registry.PutMulti(HKLM, key, "DhcpDefaultGateway", {"192.168.1.1"});
  registry.PutMulti(HKLM, key, "DefaultGatewayMetric", {"5"});
  registry.PutText(HKLM, key, "DhcpNameServer", " 192.168.1.1  8.8.8.8 ");
  registry.PutNumber(HKLM, key, "InterfaceMetric", 25);
  discovery.EnumerateAdapters();
  EXPECT_EQ(Boxes(), "|||1.1.1.1|2.2.2.2|");
  for (int n = 0; n < 5; ++n) {
    windows.Pick(C::网卡选择框, n);
    EXPECT_EQ(Lists(), rows[n].second) << rows[n].first;
  }
  windows.SelectPage(C::功能选择夹, 1);
  windows.Pick(C::网卡选择框, 5);  // a pick shows page 0
  EXPECT_EQ(windows.Page(C::功能选择夹), 0);
  EXPECT_EQ(state.adapters.At(6).nameServers, "192.168.1.1,8.8.8.8");
  EXPECT_EQ(Boxes(), "192.168.1.50|255.255.255.0|192.168.1.1|192.168.1.1|8.8.8.8|");
  EXPECT_EQ(Lists(), "192.168.1.50/255.255.255.0 ; 192.168.1.1/5 ; 192.168.1.1 8.8.8.8");
  EXPECT_EQ(state.config.interfaceMetric, "25");
  EXPECT_EQ(windows.Text(C::提示标签), "通过DHCP指派");
}

TEST_F(AdapterDiscoveryTest, AnUnknownModeEmptiesThatAdapterAndAnAbsentOneMeansStatic) {
  SeedAdapter(0, "static");
  SeedStatic(0, {"10.0.0.1"}, {"255.0.0.0"}, {"10.0.0.254"}, {"5"}, "8.8.8.8,8.8.4.4");
  registry.PutNumber(HKLM, TcpipKey(0), "InterfaceMetric", 9);
  SeedAdapter(1, "odd");
  SeedStatic(1, {"10.0.0.2"}, {"255.0.0.0"}, {"10.0.0.254"}, {}, "8.8.8.8");
  registry.PutNumber(HKLM, TcpipKey(1), "EnableDHCP", 2);
  SeedAdapter(2, "absent");
  registry.PutMulti(HKLM, TcpipKey(2), "IPAddress", {"10.1.1.1"});
  registry.PutMulti(HKLM, TcpipKey(2), "DefaultGateway", {"10.1.1.254"});
  discovery.EnumerateAdapters();  // the scratch record held adapter 0's settings just before
  const AdapterRecord& odd = state.adapters.At(2);
  EXPECT_EQ(odd.ipAddresses + odd.subnetMasks + odd.gateways + odd.gatewayMetrics + odd.nameServers +
                odd.interfaceMetric + odd.configMode, "");
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(Boxes(), "|||||");
  EXPECT_EQ(state.config.interfaceMetric, "");
  EXPECT_EQ(state.adapters.At(3).configMode + state.adapters.At(3).ipAddresses, "手动配置10.1.1.1");
  windows.Pick(C::网卡选择框, 2);  // an address without a mask pairs with an empty one; a
  EXPECT_EQ(Lists(), "10.1.1.1/ ; 10.1.1.254/0 ;");  // gateway without a metric is automatic
  for (std::uint32_t metric : {0u, 1u, 25u}) {
    registry.PutNumber(HKLM, TcpipKey(2), "InterfaceMetric", metric);
    EXPECT_EQ(discovery.ReadInterfaceMetric(Guid(2)), metric ? std::to_string(metric) : "");
  }
}

// ---- Input that arrives while a scan or a list build runs ----

class AdapterDiscoveryReentryTest : public AdapterDiscoveryTest {
 protected:
  void SetUp() override {
    AdapterDiscoveryTest::SetUp();
    SeedAdapter(0, "first");
    SeedStatic(0, {"10.0.0.1", "10.0.0.2", "10.0.0.3"}, {"255.0.0.0", "255.0.0.0", "255.0.0.0"},
               {"10.0.0.254", "10.0.0.253"}, {"0", "10"}, "10.0.0.53,10.0.0.54");
    SeedAdapter(1, "second");
    SeedStatic(1, {"172.16.0.1", "172.16.0.2"}, {"255.255.0.0", "255.255.0.0"}, {"172.16.0.254"}, {"5"},
               "172.16.0.53");
    SeedAdapter(2, "third");
    SeedStatic(2, {"192.168.0.1"}, {"255.255.255.0"});
    discovery.EnumerateAdapters();
  }
  // Queues `event` once, at the first poll where `when` holds.
  void InjectOnce(std::function<bool()> when, std::function<void()> event) {
    injected = false;
    input.onPoll = [this, when, event](int) {
      if (injected || !when()) return;
      injected = true;
      input.Queue(event);
    };
  }
  bool injected = false;
  const std::string kFirst = "10.0.0.1/255.0.0.0 10.0.0.2/255.0.0.0 10.0.0.3/255.0.0.0 ; "
                             "10.0.0.254/0 10.0.0.253/10 ; 10.0.0.53 10.0.0.54";
};

TEST_F(AdapterDiscoveryReentryTest, AScanOrPickInsideAnotherLeavesOneWholeAdapterShown) {
  const std::string second = "172.16.0.1/255.255.0.0 172.16.0.2/255.255.0.0 ; 172.16.0.254/5 ; 172.16.0.53";
  const auto scan = [&] { discovery.EnumerateAdapters(); };
  const auto pick = [&](int n) { return [&, n] { windows.Pick(C::网卡选择框, n); }; };
  // Each event comes once, when the catalogue holds `count` adapters during a scan, or at the
  // `poll`th poll of a list build: showing an adapter polls once before its lists are built,
  // once after each of the five splits, and before and after each entry.
  const struct { const char* name; std::function<void()> start; std::size_t count; int poll;
                 std::function<void()> event; int shown; } rows[] = {
      {"a scan inside a scan", scan, 1, 0, scan, 0},
      {"a pick inside a scan", scan, 2, 0, pick(1), 0},
      {"a pick inside a list build", pick(0), 0, 8, pick(1), 1},
      {"a refresh inside a list build", pick(1), 0, 10, scan, 0},
  };
  for (const auto& row : rows) {
    discovery.EnumerateAdapters();
    shell.busyCalls.clear();
    const int from = input.polls;
    InjectOnce([&, from] { return row.count ? state.adapters.Count() == row.count : input.polls - from == row.poll; },
               row.event);
    row.start();
    EXPECT_TRUE(injected) << row.name;
    EXPECT_EQ(Catalogue(), "first|second|third|") << row.name;
    EXPECT_EQ(Selector(), Catalogue()) << row.name;
    EXPECT_EQ(state.config.selectedAdapter, static_cast<std::size_t>(row.shown + 1)) << row.name;
    EXPECT_EQ(windows.Text(C::适配器标签), Guid(row.shown)) << row.name;
    EXPECT_EQ(Lists(), row.shown ? second : kFirst) << row.name;
    EXPECT_EQ(windows.Text(C::地址框) + " " + windows.Text(C::首选框),  // the second has one DNS server
              row.shown ? "172.16.0.1 172.16.0.53" : "10.0.0.1 10.0.0.53") << row.name;
    EXPECT_LE(std::count(shell.busyCalls.begin(), shell.busyCalls.end(), false), 1) << row.name;
  }
}

TEST_F(AdapterDiscoveryReentryTest, AScanThatFindsNothingLeavesTheListsAsTheyWereBeforeTheBuild) {
  const int from = input.polls;
  InjectOnce([&] { return input.polls - from == 8; }, [&] {  // after the second adapter's first address
    for (int n = 0; n < 3; ++n) layer.DeleteRegistryValue(HKLM, ClassKey(n) + "\\Linkage\\UpperBind");
    discovery.EnumerateAdapters();
  });
  windows.Pick(C::网卡选择框, 1);
  EXPECT_EQ(Selector(), "未发现网卡信息|");
  EXPECT_TRUE(state.adapters.Empty());
  EXPECT_EQ(state.config.selectedAdapter, 0u);  // not the overtaken pick's, past the catalogue
  EXPECT_EQ(Lists(), kFirst);
  EXPECT_EQ(windows.Text(C::地址框), "10.0.0.1");
}

}  // namespace
}  // namespace netvane
