// End-to-end: adapters seeded in the registry the way Windows keeps them, the real program
// started against them, its main window read and driven from outside.
//
// Every adapter of the seed but three is meant to be passed over, each for one reason, and each
// is otherwise complete, so that an adapter shown by mistake would show its own addresses.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/Layout.h"
#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

using C = MainControl;

const std::string kSystem = "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\";
const std::string kClassKey = kSystem + "Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}\\";
const std::string kConnectionsKey = kSystem + "Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
const std::string kInterfacesKey = kSystem + "Services\\Tcpip\\Parameters\\Interfaces\\";
const std::string kComputerNameKey = kSystem + "Control\\ComputerName\\ComputerName";
const std::string kIpxKey = kSystem + "Services\\NwlnkIpx";
const std::string kDeviceVendor = "PCI\\VEN_E2E0&DEV_0001";  // every seeded device, one key to remove
constexpr const char* kComputerName = "WB-E2E-07";

struct SeededAdapter {
  int n = 0;  // the class subkey 000n
  std::string description;
  bool upperBind = true, present = true, dhcp = false;
  std::optional<std::string> lowerRange = "ethernet";
  std::vector<std::string> addresses, masks, gateways;
  std::string nameServers;  // commas for NameServer, spaces for DhcpNameServer

  std::string Subkey() const { return "000" + std::to_string(n); }
  std::string Guid() const { return "{E2E0D15C-0000-4000-8000-00000000000" + std::to_string(n) + "}"; }
  std::string Device() const { return kDeviceVendor + "\\4&E2E&0&" + Subkey(); }
};

// A skipped adapter's own addresses are 172.16.n.x, never shown when the scan is right.
SeededAdapter Decoy(int n, std::string description) {
  const std::string net = "172.16." + std::to_string(n) + ".";
  return SeededAdapter{n, std::move(description), true, true, false, "ethernet", {net + "10"},
                       {"255.255.0.0"}, {net + "1"}, net + "53," + net + "54"};
}

class AdapterDiscoveryE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    // The first adapter of the system's list lends its name to the static adapter, so that its
    // MAC is the one the program has to find (by name: its instance id is not the system's).
    for (const HostAdapter& host : HostAdapters()) {
      const std::size_t first = host.description.find_first_not_of(' ');
      if (first == std::string::npos || host.address.empty()) continue;
      staticName_ = host.description.substr(first, host.description.find_last_not_of(' ') + 1 - first);
      staticMac_ = host.address;
      break;
    }
    std::cout << "[ info     ] static adapter \"" << staticName_ << "\", MAC \"" << staticMac_ << "\"\n";
    SeededAdapter capital = Decoy(0, "E2E Capitalised NIC"), fixed = Decoy(1, staticName_),
                  removed = Decoy(2, "E2E Removed NIC"), dual = Decoy(3, "E2E Dual NIC"),
                  dhcp = Decoy(4, "E2E DHCP NIC"), unbound = Decoy(5, "E2E Unbound NIC"),
                  beyond = Decoy(7, "E2E NIC after a gap");
    capital.lowerRange = "Ethernet";
    fixed.addresses = {"192.168.16.5", "192.168.16.6"};
    fixed.masks = {"255.255.255.0", "255.255.0.0"};
    fixed.gateways = {"192.168.16.254"};
    fixed.nameServers = "202.96.128.86,202.96.134.133";
    removed.present = false;
    dual.lowerRange = "ethernet,wlan";
    dhcp.dhcp = true;
    dhcp.addresses = {"10.1.2.33"};
    dhcp.masks = {"255.255.248.0"};
    dhcp.gateways = {"10.1.0.1"};
    dhcp.nameServers = "10.1.0.53 10.1.0.54";
    unbound.upperBind = false;
    adapters_ = {capital, fixed, removed, dual, dhcp, unbound, beyond};
  }

  void TearDown() override {
    app_.Terminate();
    RegistrySeed cleanup;
    RemoveSeed(cleanup);
    if (originalName_) cleanup.Key(kComputerNameKey).String("ComputerName", originalName_->data);
    std::string error;
    EXPECT_TRUE(cleanup.Import(&error)) << error;
  }

  void RemoveSeed(RegistrySeed& seed) const {
    for (const SeededAdapter& a : adapters_) {
      seed.Remove(kClassKey + a.Subkey()).Remove(kConnectionsKey + a.Guid()).Remove(kInterfacesKey + a.Guid());
    }
    seed.Remove(kSystem + "Enum\\" + kDeviceVendor).Remove(kIpxKey);
  }

  void SeedAndStart() {
    originalName_ = QueryRegistryValue(kComputerNameKey, "ComputerName");
    RegistrySeed seed;
    RemoveSeed(seed);
    for (const SeededAdapter& a : adapters_) {
      const std::string key = kClassKey + a.Subkey();
      seed.Key(key).String("DriverDesc", a.description).String("NetCfgInstanceId", a.Guid())
          .String("MatchingDeviceId", "pci\\ven_e2e0&dev_0001");
      if (a.upperBind) seed.Key(key + "\\Linkage").Strings("UpperBind", {"Tcpip", "NetBT"});
      seed.Key(key + "\\Ndi\\Interfaces");
      if (a.lowerRange) seed.String("LowerRange", *a.lowerRange);
      seed.Key(kConnectionsKey + a.Guid() + "\\Connection").String("Name", "本地连接 " + a.Subkey())
          .String("PnpInstanceID", a.Device());
      seed.Key(kSystem + "Enum\\" + a.Device() + "\\Control");  // a removed card keeps its device key
      if (a.present) seed.String("ActiveService", "E2E1000");
      seed.Key(kInterfacesKey + a.Guid());
      if (a.dhcp) {  // as Windows keeps a DHCP adapter: the static values zeroed, the lease beside
        seed.Dword("EnableDHCP", 1).Strings("IPAddress", {"0.0.0.0"}).String("DhcpIPAddress", a.addresses[0])
            .String("DhcpSubnetMask", a.masks[0]).Strings("DhcpDefaultGateway", a.gateways)
            .String("DhcpNameServer", a.nameServers);
      } else {
        seed.Dword("EnableDHCP", 0).Strings("IPAddress", a.addresses).Strings("SubnetMask", a.masks)
            .Strings("DefaultGateway", a.gateways).String("NameServer", a.nameServers);
      }
    }
    seed.Key(kComputerNameKey).String("ComputerName", kComputerName);
    seed.Key(kIpxKey).String("DisplayName", "NWLink IPX").Key(kIpxKey + "\\Parameters")
        .Dword("VirtualNetworkNumber", 0x8000001F);
    std::string error;
    ASSERT_TRUE(seed.Import(&error)) << error;
    ASSERT_TRUE(app_.Start(WorkingDirectory() + "\\e2e-app\\netvane.exe").empty());
    main_ = app_.WaitForWindow(LayoutOf(WindowId::Main).caption);
    ASSERT_NE(main_, nullptr);
  }

  HWND Control(C id) const { return GetDlgItem(main_, static_cast<int>(id)); }
  bool Idle() const {
    for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) {
      if (!Enabled(Control(button))) return false;
    }
    return true;
  }
  // What page 0 shows of one adapter, as one line that names what differs on failure.
  std::string Shown() const {
    std::string line = std::to_string(ComboSelection(Control(C::网卡选择框)));
    for (C label : {C::适配器标签, C::本地连接框, C::MAC信息框, C::提示标签, C::机器名框, C::网络号框}) {
      line += " | " + Text(Control(label));
    }
    for (C box : {C::地址框, C::掩码框, C::网关框, C::首选框, C::备用框}) line += " | " + AddressText(Control(box));
    return line;
  }
  void ExpectShown(const std::string& expected, const char* state) {
    EXPECT_TRUE(WaitUntil([&] { return Idle() && Shown() == expected; }, kStartTimeout)) << state;
    EXPECT_EQ(Shown(), expected) << state;
  }

  std::vector<SeededAdapter> adapters_;
  std::string staticName_ = "E2E Static NIC", staticMac_;
  std::optional<RegistryValue> originalName_;
  AppProcess app_;
  HWND main_ = nullptr;
};

TEST_F(AdapterDiscoveryE2e, ShowsTheAcceptedAdaptersFollowsTheSelectorAndRefreshes) {
  ASSERT_NO_FATAL_FAILURE(SeedAndStart());
  const std::string tail = std::string(" | ") + kComputerName + " | 8000001F | ";
  ExpectShown("0 | " + adapters_[1].Guid() + " | 本地连接 0001 | " + staticMac_ + " | 手动配置" + tail +
                  "192.168.16.5 | 255.255.255.0 | 192.168.16.254 | 202.96.128.86 | 202.96.134.133",
              "after start-up");
  EXPECT_EQ(ComboItems(Control(C::网卡选择框)),
            (std::vector<std::string>{staticName_, "E2E DHCP NIC", "E2E NIC after a gap"}));
  EXPECT_TRUE(SaveScreenshot(main_, WorkingDirectory() + "\\results\\screens\\discovery-static.bmp"));

  PressKey(Control(C::网卡选择框), VK_DOWN);  // the DHCP adapter: its servers split at spaces
  ExpectShown("1 | " + adapters_[4].Guid() + " | 本地连接 0004 |  | 通过DHCP指派" + tail +
                  "10.1.2.33 | 255.255.248.0 | 10.1.0.1 | 10.1.0.53 | 10.1.0.54",
              "after picking the second adapter");

  // 刷新 reads the registry again and goes back to the first adapter; the click gave it the
  // focus and the busy state took it away, yet Enter still reaches the café button.
  RegistrySeed change;
  change.Key(kInterfacesKey + adapters_[1].Guid()).Strings("IPAddress", {"192.168.16.7"});
  ASSERT_TRUE(change.Import());
  ASSERT_TRUE(Click(Control(C::刷新按钮)));
  ExpectShown("0 | " + adapters_[1].Guid() + " | 本地连接 0001 | " + staticMac_ + " | 手动配置" + tail +
                  "192.168.16.7 | 255.255.255.0 | 192.168.16.254 | 202.96.128.86 | 202.96.134.133",
              "after 刷新");
  PressEnter(main_);
  EXPECT_TRUE(WaitUntil([&] { return Visible(Control(C::网吧修改框)); })) << "Enter after 刷新 did nothing";

  // Nothing accepted any more: the placeholder, and IPX shown as not installed.
  RegistrySeed none;
  for (int n : {1, 4, 7}) none.Key(kClassKey + adapters_[n == 7 ? 6 : n].Subkey() + "\\Ndi\\Interfaces").String("LowerRange", "wlan");
  none.Remove(kIpxKey);
  ASSERT_TRUE(none.Import());
  ASSERT_TRUE(Click(Control(C::刷新按钮)));
  EXPECT_TRUE(WaitUntil([&] { return Idle() && ComboItems(Control(C::网卡选择框)) == std::vector<std::string>{"未发现网卡信息"}; },
                        kStartTimeout));
  EXPECT_EQ(Text(Control(C::网络号框)), "未安装IPX协议");
  EXPECT_TRUE(GetWindowLongA(Control(C::网络号框), GWL_STYLE) & ES_READONLY);
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
  fixed.addresses = {"192.168.16.5"}, fixed.masks = {"255.255.255.0"}, fixed.gateways = {"192.168.16.254"};
  fixed.nameServers = "202.96.128.86,202.96.134.133,8.8.8.8";
  ASSERT_NO_FATAL_FAILURE(SeedAndStart());
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
  ASSERT_TRUE(Click(in(advanced, A::确定按钮)));
  EXPECT_EQ(AddressText(Control(C::首选框)), "8.8.8.8");

  PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
  const auto value = [&](const char* name) {
    return QueryRegistryValue(kInterfacesKey + fixed.Guid(), name).value_or(RegistryValue{}).data;
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
