// End-to-end cases of adapter discovery: adapters seeded in the registry the way Windows keeps
// them, the real program started against them, its main window read and driven from outside.
//
// The seed is one set of class subkeys in which every adapter but two is meant to be passed
// over, each for exactly one reason, and each otherwise complete (connection, device, TCP/IP
// settings), so that an adapter shown by mistake would show its own addresses.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "ui/Controls.h"
#include "app/Layout.h"
#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

using C = MainControl;

const std::string kSystem = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\";
const std::string kClassKey = kSystem + "Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}\\";
const std::string kConnectionsKey =
    kSystem + "Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const std::string kInterfacesKey = kSystem + "Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kComputerNameKey = kSystem + "Control\\ComputerName\\ComputerName";
const std::string kIpxKey = kSystem + "Services\\NwlnkIpx";
// Every seeded device sits under this made-up vendor, so one key removes them all.
const std::string kDeviceVendor = "PCI\\VEN_E2E0&DEV_0001";
const std::string kDeviceVendorKey = kSystem + "Enum\\" + kDeviceVendor;

constexpr const char* kComputerName = "WB-E2E-07";
constexpr DWORD kIpxNumber = 0x8000001F;

std::string AppPath() { return WorkingDirectory() + "\\e2e-app\\netvane.exe"; }
std::string ScreenPath(const std::string& name) {
  return WorkingDirectory() + "\\results\\screens\\" + name + ".bmp";
}

struct SeededAdapter {
  std::string subkey;  // of the class key
  bool upperBind = true;
  std::optional<std::string> lowerRange = "ethernet";  // nothing: the value is absent
  std::string description;
  std::string instanceId;
  std::string connection;
  bool present = true;  // the device has an active driver service
  bool dhcp = false;
  std::vector<std::string> addresses, masks, gateways, metrics;
  std::string nameServers;  // as stored: commas for NameServer, spaces for DhcpNameServer

  std::string Device() const { return kDeviceVendor + "\\4&E2E&0&" + subkey; }
};

std::string InstanceId(int n) {
  return "{E2E0D15C-0000-4000-8000-00000000000" + std::to_string(n) + "}";
}

// A skipped adapter's own addresses: 172.16.n.x, never shown when the scan is right.
SeededAdapter Decoy(int n, std::string description) {
  SeededAdapter a;
  a.subkey = "000" + std::to_string(n);
  a.description = std::move(description);
  a.instanceId = InstanceId(n);
  a.connection = "本地连接 " + std::to_string(n + 10);
  const std::string net = "172.16." + std::to_string(n) + ".";
  a.addresses = {net + "10"};
  a.masks = {"255.255.0.0"};
  a.gateways = {net + "1"};
  a.metrics = {"0"};
  a.nameServers = net + "53," + net + "54";
  return a;
}

constexpr const char* kDhcpDescription = "Netvane E2E DHCP NIC";

// 0000 "Ethernet", 0001 static and accepted, 0002 card removed, 0003 "ethernet,wlan", 0004 DHCP
// and accepted, 0005 without Linkage\UpperBind (the scan ends there), 0006 accepted-looking but
// never reached.
std::vector<SeededAdapter> AdapterSet(const std::string& staticDescription) {
  std::vector<SeededAdapter> set;
  set.push_back(Decoy(0, "Netvane E2E Capitalised NIC"));
  set.back().lowerRange = "Ethernet";

  SeededAdapter fixed = Decoy(1, staticDescription);
  fixed.connection = "本地连接 2";
  fixed.addresses = {"192.168.16.5", "192.168.16.6"};
  fixed.masks = {"255.255.255.0", "255.255.0.0"};
  fixed.gateways = {"192.168.16.254", "192.168.16.253"};
  fixed.metrics = {"0", "20"};
  fixed.nameServers = "202.96.128.86,202.96.134.133";
  set.push_back(fixed);

  set.push_back(Decoy(2, "Netvane E2E Removed NIC"));
  set.back().present = false;
  set.push_back(Decoy(3, "Netvane E2E Dual NIC"));
  set.back().lowerRange = "ethernet,wlan";

  SeededAdapter dhcp = Decoy(4, kDhcpDescription);
  dhcp.connection = "办公网 DHCP";
  dhcp.dhcp = true;
  dhcp.addresses = {"10.1.2.33"};
  dhcp.masks = {"255.255.248.0"};
  dhcp.gateways = {"10.1.0.1"};
  dhcp.metrics = {"0"};
  dhcp.nameServers = "10.1.0.53 10.1.0.54";
  set.push_back(dhcp);

  set.push_back(Decoy(5, "Netvane E2E Unbound NIC"));
  set.back().upperBind = false;
  set.push_back(Decoy(6, "Netvane E2E Beyond NIC"));
  return set;
}

// What the main window shows of adapter discovery.
struct Display {
  std::vector<std::string> items;
  int selection = -1;
  std::string instanceId, frame, hardwareAddress, status;
  std::string address, mask, gateway, preferred, alternate;
  std::string computerName, ipxNumber;
  bool operator==(const Display&) const = default;
};

class AdapterDiscoveryE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    // The first adapter of the system's list lends its name to the static adapter, so that its
    // MAC is the one the program has to find. Without any, that adapter's MAC box stays empty.
    for (const HostAdapter& host : HostAdapters()) {
      std::string name = host.description;
      name.erase(0, name.find_first_not_of(' '));
      name.erase(name.find_last_not_of(' ') + 1);
      if (name.empty() || host.address.empty()) continue;
      staticDescription_ = name;
      staticHardwareAddress_ = host.address;
      break;
    }
    std::cout << "[ info     ] static adapter named \"" << staticDescription_ << "\", MAC \""
              << staticHardwareAddress_ << "\"\n";
    adapters_ = AdapterSet(staticDescription_);
    if (const auto name = QueryRegistryValue(kComputerNameKey, "ComputerName")) {
      originalComputerName_ = name->data;
    }
  }

  void TearDown() override {
    app_.Terminate();
    RegistrySeed cleanup;
    RemoveSeededKeys(cleanup);
    std::string error;
    EXPECT_TRUE(cleanup.Import(&error)) << error;
    for (const SeededAdapter& a : adapters_) {
      EXPECT_FALSE(QueryRegistryValue(kClassKey + a.subkey, "DriverDesc")) << a.subkey;
      EXPECT_FALSE(QueryRegistryValue(kInterfacesKey + a.instanceId, "EnableDHCP")) << a.subkey;
    }
    EXPECT_FALSE(QueryRegistryValue(kIpxKey, "DisplayName"));
    if (originalComputerName_) {
      RegistrySeed restore;
      restore.Key(kComputerNameKey).String("ComputerName", *originalComputerName_);
      EXPECT_TRUE(restore.Import(&error)) << error;
    }
  }

  void RemoveSeededKeys(RegistrySeed& seed) const {
    for (const SeededAdapter& a : adapters_) {
      seed.Remove(kClassKey + a.subkey)
          .Remove(kConnectionsKey + a.instanceId)
          .Remove(kInterfacesKey + a.instanceId);
    }
    seed.Remove(kDeviceVendorKey).Remove(kIpxKey);
  }

  // Seeds the adapter set, the computer name and, when asked, the IPX service; whatever an
  // earlier run left behind is removed first.
  void Seed(bool withIpx) {
    RegistrySeed seed;
    RemoveSeededKeys(seed);
    for (const SeededAdapter& a : adapters_) {
      const std::string key = kClassKey + a.subkey;
      seed.Key(key)
          .String("DriverDesc", a.description)
          .String("NetCfgInstanceId", a.instanceId)
          .String("MatchingDeviceId", "pci\\ven_e2e0&dev_0001");
      if (a.upperBind) seed.Key(key + "\\Linkage").Strings("UpperBind", {"Tcpip", "NetBT"});
      seed.Key(key + "\\Ndi\\Interfaces");
      if (a.lowerRange) seed.String("LowerRange", *a.lowerRange);
      seed.Key(kConnectionsKey + a.instanceId + "\\Connection")
          .String("Name", a.connection)
          .String("PnpInstanceID", a.Device());
      // A removed card keeps its device key, without a driver service.
      seed.Key(kSystem + "Enum\\" + a.Device() + "\\Control");
      if (a.present) seed.String("ActiveService", "E2E1000");
      seed.Key(kInterfacesKey + a.instanceId);
      if (a.dhcp) {
        // As Windows keeps a DHCP adapter: the static values zeroed, the lease beside them.
        seed.Dword("EnableDHCP", 1)
            .Strings("IPAddress", {"0.0.0.0"})
            .Strings("SubnetMask", {"0.0.0.0"})
            .String("DhcpIPAddress", a.addresses.front())
            .String("DhcpSubnetMask", a.masks.front())
            .Strings("DhcpDefaultGateway", a.gateways)
            .String("DhcpNameServer", a.nameServers);
      } else {
        seed.Dword("EnableDHCP", 0)
            .Strings("IPAddress", a.addresses)
            .Strings("SubnetMask", a.masks)
            .Strings("DefaultGateway", a.gateways)
            .String("NameServer", a.nameServers);
      }
      seed.Strings("DefaultGatewayMetric", a.metrics);
    }
    seed.Key(kComputerNameKey).String("ComputerName", kComputerName);
    if (withIpx) {
      seed.Key(kIpxKey)
          .String("DisplayName", "NWLink IPX/SPX/NetBIOS Compatible Transport Protocol")
          .Key(kIpxKey + "\\Parameters")
          .Dword("VirtualNetworkNumber", kIpxNumber);
    }
    std::string error;
    ASSERT_TRUE(seed.Import(&error)) << error;
    ASSERT_EQ(QueryRegistryValue(kClassKey + "0004", "DriverDesc").value_or(RegistryValue{}).data,
              kDhcpDescription);
  }

  const SeededAdapter& Adapter(const std::string& subkey) const {
    for (const SeededAdapter& a : adapters_) {
      if (a.subkey == subkey) return a;
    }
    throw std::logic_error("no seeded adapter " + subkey);
  }

  void Start() {
    const std::string problem = app_.Start(AppPath());
    ASSERT_TRUE(problem.empty()) << problem;
    main_ = app_.WaitForWindow(LayoutOf(WindowId::Main).caption);
    ASSERT_NE(main_, nullptr) << "no main window within " << kStartTimeout << " ms";
  }

  HWND Control(C id) const { return GetDlgItem(main_, static_cast<int>(id)); }

  Display Read() const {
    Display d;
    d.items = ComboItems(Control(C::网卡选择框));
    d.selection = ComboSelection(Control(C::网卡选择框));
    d.instanceId = Text(Control(C::适配器标签));
    d.frame = Text(Control(C::本地连接框));
    d.hardwareAddress = Text(Control(C::MAC信息框));
    d.status = Text(Control(C::提示标签));
    d.address = AddressText(Control(C::地址框));
    d.mask = AddressText(Control(C::掩码框));
    d.gateway = AddressText(Control(C::网关框));
    d.preferred = AddressText(Control(C::首选框));
    d.alternate = AddressText(Control(C::备用框));
    d.computerName = Text(Control(C::机器名框));
    d.ipxNumber = Text(Control(C::网络号框));
    return d;
  }

  bool ActionButtonsEnabled() const {
    for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) {
      if (!Enabled(Control(button))) return false;
    }
    return true;
  }

  // Waits until the window shows `expected` with the action buttons enabled and the program
  // idle, then checks it field by field so that a failure names what differs.
  void ExpectDisplay(const Display& expected, const std::string& state) {
    const bool reached =
        WaitUntil([&] { return ActionButtonsEnabled() && Read() == expected; }, kStartTimeout);
    EXPECT_TRUE(app_.WaitForIdle(main_)) << state;
    const Display d = Read();
    EXPECT_EQ(d.items, expected.items) << state;
    EXPECT_EQ(d.selection, expected.selection) << state;
    EXPECT_EQ(d.instanceId, expected.instanceId) << state << ": 适配器标签";
    EXPECT_EQ(d.frame, expected.frame) << state << ": 本地连接框";
    EXPECT_EQ(d.hardwareAddress, expected.hardwareAddress) << state << ": MAC信息框";
    EXPECT_EQ(d.status, expected.status) << state << ": 提示标签";
    EXPECT_EQ(d.address, expected.address) << state << ": 地址框";
    EXPECT_EQ(d.mask, expected.mask) << state << ": 掩码框";
    EXPECT_EQ(d.gateway, expected.gateway) << state << ": 网关框";
    EXPECT_EQ(d.preferred, expected.preferred) << state << ": 首选框";
    EXPECT_EQ(d.alternate, expected.alternate) << state << ": 备用框";
    EXPECT_EQ(d.computerName, expected.computerName) << state << ": 机器名框";
    EXPECT_EQ(d.ipxNumber, expected.ipxNumber) << state << ": 网络号框";
    EXPECT_TRUE(ActionButtonsEnabled()) << state;
    EXPECT_TRUE(reached) << state << ": not shown within " << kStartTimeout << " ms";
  }

  bool ReadOnly(C id) const { return (GetWindowLongA(Control(id), GWL_STYLE) & ES_READONLY) != 0; }

  void Screenshot(const std::string& name) const {
    EXPECT_TRUE(SaveScreenshot(main_, ScreenPath(name))) << ScreenPath(name);
  }

  std::vector<SeededAdapter> adapters_;
  std::string staticDescription_ = "Netvane E2E Static NIC";
  std::string staticHardwareAddress_;  // empty when the system lists no adapter
  std::optional<std::string> originalComputerName_;
  AppProcess app_;
  HWND main_ = nullptr;
};

TEST_F(AdapterDiscoveryE2e, ShowsTheAcceptedAdaptersAndFollowsTheSelector) {
  ASSERT_NO_FATAL_FAILURE(Seed(/*withIpx=*/true));
  const SeededAdapter& fixed = Adapter("0001");
  const SeededAdapter& dhcp = Adapter("0004");
  const std::vector<std::string> items = {fixed.description, dhcp.description};

  // Start-up: only 0001 and 0004 are accepted, in subkey order, and the first one is shown.
  ASSERT_NO_FATAL_FAILURE(Start());
  Display first;
  first.items = items;
  first.selection = 0;
  first.instanceId = fixed.instanceId;
  first.frame = "本地连接 2";
  first.hardwareAddress = staticHardwareAddress_;
  first.status = "手动配置";
  first.address = "192.168.16.5";
  first.mask = "255.255.255.0";
  first.gateway = "192.168.16.254";
  first.preferred = "202.96.128.86";
  first.alternate = "202.96.134.133";
  first.computerName = kComputerName;
  first.ipxNumber = "8000001F";
  ASSERT_NO_FATAL_FAILURE(ExpectDisplay(first, "after start-up"));
  EXPECT_FALSE(ReadOnly(C::网络号框));
  Screenshot("discovery-static");

  // The operator picks the second item with the keyboard: the DHCP adapter is shown, its DNS
  // servers taken from the space-separated DhcpNameServer.
  HWND selector = Control(C::网卡选择框);
  PressKey(selector, VK_DOWN);
  Display second = first;
  second.selection = 1;
  second.instanceId = dhcp.instanceId;
  second.frame = "办公网 DHCP";
  second.hardwareAddress = "";  // its DriverDesc names no adapter of the system
  second.status = "通过DHCP指派";
  second.address = "10.1.2.33";
  second.mask = "255.255.248.0";
  second.gateway = "10.1.0.1";
  second.preferred = "10.1.0.53";
  second.alternate = "10.1.0.54";
  ASSERT_NO_FATAL_FAILURE(ExpectDisplay(second, "after picking the second adapter"));
  Screenshot("discovery-dhcp");

  // Refreshing reads the registry again and goes back to the first adapter.
  RegistrySeed change;
  change.Key(kInterfacesKey + fixed.instanceId)
      .Strings("IPAddress", {"192.168.16.7", "192.168.16.8"});
  std::string error;
  ASSERT_TRUE(change.Import(&error)) << error;
  ASSERT_TRUE(Click(Control(C::刷新按钮))) << "刷新 not handled";
  Display refreshed = first;
  refreshed.address = "192.168.16.7";
  ASSERT_NO_FATAL_FAILURE(ExpectDisplay(refreshed, "after 刷新"));
  Screenshot("discovery-refreshed");
}

TEST_F(AdapterDiscoveryE2e, WithNothingAcceptedShowsThePlaceholder) {
  // The same set, but 0001 loses its lower range and 0004 names ethernet after another kind.
  for (SeededAdapter& a : adapters_) {
    if (a.subkey == "0001") a.lowerRange.reset();
    if (a.subkey == "0004") a.lowerRange = "wlan,ethernet";
  }
  ASSERT_NO_FATAL_FAILURE(Seed(/*withIpx=*/false));

  ASSERT_NO_FATAL_FAILURE(Start());
  Display none;
  none.items = {"未发现网卡信息"};
  none.selection = 0;
  none.frame = "本地连接";  // the layout's caption: no adapter was shown
  none.hardwareAddress = "检测中……";
  none.status = "检测中……";
  none.computerName = kComputerName;
  none.ipxNumber = "未安装IPX协议";
  ASSERT_NO_FATAL_FAILURE(ExpectDisplay(none, "after start-up"));
  EXPECT_TRUE(ReadOnly(C::网络号框));
  Screenshot("discovery-none");
}

// Keystrokes into an edit box, or field by field into an IP-address box; true once the box
// shows them (a message sent later would overtake keystrokes still queued).
bool Type(HWND box, const std::string& text) {
  std::vector<HWND> fields;
  for (HWND f = GetWindow(box, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) fields.push_back(f);
  std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    return GetWindowRect(a, &ra) && GetWindowRect(b, &rb) && ra.left < rb.left;
  });
  std::size_t field = 0;
  for (char c : text) {
    if (c == '.' && !fields.empty()) ++field;
    else PostMessageA(fields.empty() ? box : fields.at(field), WM_CHAR, c, 1);
  }
  return WaitUntil([&] { return (fields.empty() ? Text(box) : AddressText(box)) == text; });
}

TEST_F(AdapterDiscoveryE2e, AdvancedWindowEditsTheListsThatModifyWrites) {
  SeededAdapter& fixed = adapters_.at(1);  // 0001, shown first
  fixed.addresses = {"192.168.16.5"}, fixed.masks = {"255.255.255.0"}, fixed.metrics = {"0"};
  fixed.gateways = {"192.168.16.254"}, fixed.nameServers = "202.96.128.86,202.96.134.133,8.8.8.8";
  ASSERT_NO_FATAL_FAILURE(Seed(/*withIpx=*/false));
  ASSERT_NO_FATAL_FAILURE(Start());
  const auto shown = [&] { return AddressText(Control(C::备用框)) == "202.96.134.133"; };
  ASSERT_TRUE(WaitUntil(shown, kStartTimeout) && app_.WaitForIdle(main_) && shown());
  PostMessageA(Control(C::高级按钮), BM_CLICK, 0, 0);  // modal: the click returns when it closes
  HWND advanced, entry;
  ASSERT_NE(advanced = app_.WaitForWindow("高级 TCP/IP 设置"), nullptr);
  auto in = [](HWND window, auto id) { return GetDlgItem(window, static_cast<int>(id)); };
  using A = AdvancedControl;
  using E = EntryControl;
  // A second address: the loopback and then an empty mask are refused, each with its message.
  ASSERT_TRUE(Click(in(advanced, A::添加按钮1)));
  ASSERT_NE(entry = app_.WaitForWindow("TCP/IP 地址"), nullptr);
  for (const auto& [address, message] : {std::pair<std::string, std::string>{"127.0.0.1",
           "以 127 起头的 IP 地址无效，因为他们保留用作环回地址。请在 1 和 223 之间指定一些其他有效值。"},
       {"192.168.16.6", "掩码地址错误，不能继续。"}}) {
    SendMessageA(in(entry, E::地址框), IPM_CLEARADDRESS, 0, 0);
    ASSERT_TRUE(Type(in(entry, E::地址框), address));
    PostMessageA(in(entry, E::添加按钮), BM_CLICK, 0, 0);
    HWND box = app_.WaitForWindow("错误");
    ASSERT_NE(box, nullptr) << address;
    EXPECT_EQ(Text(GetDlgItem(box, 0xFFFF)), message);
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
  }
  ASSERT_TRUE(Type(in(entry, E::掩码框), "255.255.0.0"));
  ASSERT_TRUE(Click(in(entry, E::添加按钮)));
  // A second gateway with the metric 20.
  ASSERT_TRUE(Click(in(advanced, A::添加按钮2)));
  ASSERT_NE(entry = app_.WaitForWindow("TCP/IP 网关地址"), nullptr);
  ASSERT_TRUE(Type(in(entry, E::网关框), "192.168.16.1"));
  ASSERT_TRUE(Click(in(entry, E::自动框)));
  ASSERT_TRUE(Type(in(entry, E::跃点框), "20"));
  ASSERT_TRUE(Click(in(entry, E::添加按钮)));
  // The interface metric 25, then page "DNS ": the third server moves to the top.
  ASSERT_TRUE(Click(in(advanced, A::跃点选择框)));
  ASSERT_TRUE(Type(in(advanced, A::跃点框), "25"));
  HWND up = in(advanced, A::向上按钮);
  for (UINT mouse : {WM_LBUTTONDOWN, WM_LBUTTONUP})  // on the title of page "DNS "
    PostMessageA(in(advanced, A::功能选择夹), mouse, MK_LBUTTON, MAKELPARAM(85, 10));
  ASSERT_TRUE(WaitUntil([&] { return !Enabled(up); })) << "page DNS not entered";
  for (int i = 0; i < 3; ++i) PressKey(in(advanced, A::DNS列表框), VK_DOWN);
  ASSERT_TRUE(WaitUntil([&] { return Enabled(up) && !Enabled(in(advanced, A::向下按钮)); }));
  ASSERT_TRUE(Click(up) && Click(up));
  EXPECT_TRUE(SaveScreenshot(advanced, ScreenPath("advanced-dns")));
  ASSERT_TRUE(Click(in(advanced, A::确定按钮)));
  EXPECT_EQ(AddressText(Control(C::首选框)), "8.8.8.8");

  PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
  const std::string key = kInterfacesKey + fixed.instanceId;
  const auto value = [&](const char* name) {
    return QueryRegistryValue(key, name).value_or(RegistryValue{}).data;
  };
  EXPECT_TRUE(WaitUntil([&] { return value("InterfaceMetric") == "0x19"; }, kStartTimeout));
  EXPECT_EQ(value("IPAddress"), "192.168.16.5\\0192.168.16.6\\0");
  EXPECT_EQ(value("SubnetMask"), "255.255.255.0\\0255.255.0.0\\0");
  EXPECT_EQ(value("DefaultGateway"), "192.168.16.254\\0192.168.16.1\\0");
  EXPECT_EQ(value("DefaultGatewayMetric"), "0\\020\\0");
  EXPECT_EQ(value("NameServer"), "8.8.8.8,202.96.128.86,202.96.134.133");
}

}  // namespace
}  // namespace netvane::e2e
