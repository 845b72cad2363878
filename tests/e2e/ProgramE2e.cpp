// End-to-end: the real program, one case per user flow, driven through window messages against a
// registry seeded as Windows keeps it. Each case seeds what it reads; the program runs in e2e-app.
#include <windows.h>
// These need windows.h first.
#include <commctrl.h>
#include <dbghelp.h>
#include <iphlpapi.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <span>
#include <sstream>
#include <string>
#include <vector>

#include "app/Layout.h"

namespace netvane::e2e {
namespace {

using namespace std::string_literals;
// Timeouts in milliseconds. (No <chrono>: its "µs" has no GBK form, and literals here are GBK.)
constexpr DWORD kStartTimeout = 20000, kActionTimeout = 5000;
const std::string kProgram = "e2e-app\\netvane.exe";

// The path CTest puts in an environment variable; a Unix path maps to drive Z:.
std::string PathOf(const char* variable) {
  const std::string path = std::getenv(variable) ? std::getenv(variable) : "";
  return path.starts_with('/') ? "Z:" + path : path;
}
std::string SystemFile(const std::string& name) {
  char directory[MAX_PATH] = {};
  GetSystemDirectoryA(directory, MAX_PATH);
  return directory + "\\"s + name;
}
std::string ReadWholeFile(const std::string& path) {
  return (std::ostringstream() << std::ifstream(path, std::ios::binary).rdbuf()).str();
}
template <typename Condition>
bool WaitUntil(Condition condition, DWORD timeout = kActionTimeout) {
  for (const ULONGLONG deadline = GetTickCount64() + timeout; !condition(); Sleep(50)) {
    if (GetTickCount64() >= deadline) return false;
  }
  return true;
}

// A value under HKEY_LOCAL_MACHINE, its key created on the way; a REG_SZ gets its NUL here.
void Put(const std::string& key, const char* name, std::string data, DWORD type = REG_SZ) {
  HKEY handle = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr);
  if (type == REG_SZ) data += '\0';
  RegSetValueExA(handle, name, 0, type, reinterpret_cast<const BYTE*>(data.data()), data.size());
  RegCloseKey(handle);
}
void Remove(const std::string& key) {
  RegDeleteTreeA(HKEY_LOCAL_MACHINE, key.c_str());
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
}
// A value as stored: "absent", "dword N", or "sz " or "multi " and the bytes, NULs included.
std::string Get(const std::string& key, const char* name) {
  HKEY handle = nullptr;
  DWORD type = 0, size = 1024;
  std::string data(size, '\0');
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ, &handle);
  const LONG failed = RegQueryValueExA(handle, name, nullptr, &type, LPBYTE(data.data()), &size);
  RegCloseKey(handle);
  data.resize(failed ? 0 : size);
  if (failed) return "absent";
  if (type == REG_DWORD) return "dword " + std::to_string(*reinterpret_cast<DWORD*>(data.data()));
  return (type == REG_SZ ? "sz " : type == REG_MULTI_SZ ? "multi " : "other ") + data;
}

const std::string kSystem = "SYSTEM\\CurrentControlSet\\", kIpx = kSystem + "Services\\NwlnkIpx";
const std::string kClass = kSystem + "Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}\\000";
const std::string kName = kSystem + "Control\\ComputerName\\ComputerName";
const std::string kWinlogon = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
// A present wired card in class subkey 000n as Windows keeps it; its TCP/IP key, with EnableDHCP 0.
std::string SeedAdapter(int n, const std::string& description) {
  const std::string id = std::to_string(n), guid = "{E2E0D15C-0000-4000-8000-00000000000" + id + "}";
  const std::string device = "PCI\\VEN_E2E0&DEV_0001\\4&E2E&0&000" + id, connection = kSystem +
      "Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\" + guid + "\\Connection";
  const std::string tcpip = kSystem + "Services\\Tcpip\\Parameters\\Interfaces\\" + guid;
  Put(kClass + id, "DriverDesc", description);
  Put(kClass + id, "NetCfgInstanceId", guid);
  Put(kClass + id, "MatchingDeviceId", "pci\\ven_e2e0&dev_0001");
  Put(kClass + id + "\\Linkage", "UpperBind", "Tcpip\0\0"s, REG_MULTI_SZ);
  Put(kClass + id + "\\Ndi\\Interfaces", "LowerRange", "ethernet");
  Put(connection, "Name", "本地连接 " + id);
  Put(connection, "PnpInstanceID", device);
  Put(kSystem + "Enum\\" + device + "\\Control", "ActiveService", "E2E1000");
  Remove(tcpip);
  Put(tcpip, "EnableDHCP", "\0\0\0\0"s, REG_DWORD);
  return tcpip;
}

// The first card of the system's own list with a MAC: its description and "XX-XX-XX-XX-XX-XX".
std::pair<std::string, std::string> HostAdapter() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  std::vector<char> buffer(size + 1);
  auto* a = reinterpret_cast<IP_ADAPTER_INFO*>(buffer.data());
  for (a = GetAdaptersInfo(a, &size) ? nullptr : a; a && a->AddressLength != 6; a = a->Next) {}
  if (!a) return {"E2E Static NIC", ""};
  char mac[18];
  const BYTE* m = a->Address;
  std::snprintf(mac, 18, "%02X-%02X-%02X-%02X-%02X-%02X", m[0], m[1], m[2], m[3], m[4], m[5]);
  return {a->Description, mac};
}

// One process, ended by force if a case leaves it running.
struct App {
  ~App() {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hProcess), CloseHandle(process.hThread);
  }
  // Right after the previous copy has ended, Wine now and then refuses a start; later it goes.
  bool Start(std::string commandLine) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    for (int attempt = 0; attempt < 5; ++attempt, Sleep(500)) {
      if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                         nullptr, nullptr, &startup, &process)) return true;
    }
    return false;
  }
  // The exit code, or STILL_ACTIVE after `timeout`.
  DWORD ExitCode(DWORD timeout = kActionTimeout) const {
    DWORD code = STILL_ACTIVE;
    if (!WaitForSingleObject(process.hProcess, timeout)) GetExitCodeProcess(process.hProcess, &code);
    return code;
  }
  PROCESS_INFORMATION process = {};
};

HWND Window(const std::string& title) {
  HWND found = nullptr;
  WaitUntil([&] { return (found = FindWindowA(nullptr, title.c_str())) && IsWindowVisible(found); },
            kStartTimeout);
  return found;
}
// The text of a control of another process, "" when it does not answer within `timeout`.
std::string Text(HWND window, DWORD timeout = kActionTimeout) {
  char text[1024] = {};
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, LPARAM(text), SMTO_ABORTIFHUNG, timeout, nullptr);
  return text;
}
// What an IP-address box shows: its four fields joined by dots, "" when all are empty.
std::string AddressText(HWND box) {
  std::string joined;
  for (HWND f = GetWindow(box, GW_CHILD); f; f = GetWindow(f, GW_HWNDNEXT)) (joined += '.') += Text(f);
  return joined == "...." ? "" : joined.erase(0, 1);
}
bool Click(HWND button) {
  return SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, kActionTimeout, nullptr);
}
// A key press as the keyboard posts it, to the focus in `window`'s thread; with none it is lost.
void PressKey(HWND window, UINT key) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) || !info.hwndFocus) return;
  const UINT scan = MapVirtualKeyA(key, MAPVK_VK_TO_VSC);
  PostMessageA(info.hwndFocus, WM_KEYDOWN, key, 1 | (scan << 16));
  PostMessageA(info.hwndFocus, WM_KEYUP, key, 1 | (scan << 16) | (3u << 30));
}

using C = MainControl;

// A static adapter named as the system's first card (for its MAC), IPX, recorder.cpp as devcon.exe.
class ProgramE2e : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryA("e2e-app", nullptr);
    ASSERT_TRUE(CopyFileA(PathOf("NETVANE_EXE").c_str(), kProgram.c_str(), FALSE));
    ASSERT_TRUE(CopyFileA(PathOf("NETVANE_RECORDER").c_str(), SystemFile("devcon.exe").c_str(), FALSE));
    DeleteFileA(SystemFile("devcon-calls.log").c_str());
    for (const char* file : {"e2e-app\\ipset.ini", "e2e-app\\netvane-undo.reg"}) DeleteFileA(file);
    for (int n = 0; n < 10; ++n) Remove(kClass + std::to_string(n));
    tcpip_ = SeedAdapter(0, host_.first);
    Put(tcpip_, "IPAddress", "192.168.30.5\0\0"s, REG_MULTI_SZ);
    Put(tcpip_, "SubnetMask", "255.255.255.0\0\0"s, REG_MULTI_SZ);
    Put(tcpip_, "DefaultGateway", "192.168.30.254\0\0"s, REG_MULTI_SZ);
    Put(kName, "ComputerName", "WB-E2E-00");  // not the host's name: that may be too long
    // Every Windows has ControlSet001 beside CurrentControlSet; a fresh Wine prefix has not.
    Put("SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName", "ComputerName", "WB-E2E-00");
    Put("SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters", "NV Hostname", "WB-E2E-00");
    Put(kIpx, "DisplayName", "NWLink IPX");
    Put(kIpx + "\\Parameters", "VirtualNetworkNumber", "\0\0\0\0"s, REG_DWORD);
  }

  void Start() {
    ASSERT_TRUE(app_.Start(kProgram));
    ASSERT_NE(main_ = Window(LayoutOf(WindowId::Main).caption), nullptr);
    ASSERT_TRUE(WaitUntil([&] { return Status() == "手动配置" && Enabled(); }, kStartTimeout));
  }
  HWND Control(C id) const { return GetDlgItem(main_, static_cast<int>(id)); }
  std::string Status(DWORD timeout = kActionTimeout) const { return Text(Control(C::提示标签), timeout); }
  bool Enabled() const { return IsWindowEnabled(Control(C::修改按钮)); }  // not busy
  // Waits for the status `during`, then `after` and no longer busy. 修改 is posted: it takes long.
  void Apply(const std::string& during, const std::string& after, bool click = true) {
    if (click) PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitUntil([&] { return Status() == during; }, kStartTimeout)) << Status();
    EXPECT_TRUE(WaitUntil([&] { return Status() == after && Enabled(); }, kStartTimeout)) << Status();
  }
  // The recorder's calls, sorted: the two for all cards are not waited for.
  static std::multiset<std::string> Calls() {
    std::istringstream log(ReadWholeFile(SystemFile("devcon-calls.log")));
    std::multiset<std::string> lines;
    for (std::string line; std::getline(log, line, '\r') >> std::ws;) lines.insert(line);
    return lines;
  }
  // The values an apply writes, one a line: the adapter's, and with `all` name, IPX and logon.
  std::string Values(bool all = false) const {
    const std::pair<std::string, const char*> values[] = {{tcpip_, "EnableDHCP"},
        {tcpip_, "IPAddress"}, {tcpip_, "SubnetMask"}, {tcpip_, "DefaultGateway"},
        {tcpip_, "DefaultGatewayMetric"}, {tcpip_, "InterfaceMetric"}, {tcpip_, "NameServer"},
        {kName, "ComputerName"}, {kIpx + "\\Parameters", "VirtualNetworkNumber"},
        {kWinlogon, "AutoAdminLogon"}, {kWinlogon, "DefaultUserName"},
        {kWinlogon, "DefaultPassword"}, {kWinlogon, "DefaultDomainName"}};
    std::string lines;
    for (auto& [key, name] : std::span(values, all ? 13 : 7)) lines += name + " "s + Get(key, name) + '\n';
    return lines;
  }

  const std::pair<std::string, std::string> host_ = HostAdapter();  // description, MAC
  std::string tcpip_;
  App app_;
  HWND main_ = nullptr;
};

// Start-up writes the carried devcon.exe over a zero-byte one and shows the accepted adapters,
// one after a gap in the numbering. The selector and 刷新 show them again; after 刷新 the
// keyboard still works, and without ipset.ini Enter, a number and Enter only switch pages.
TEST_F(ProgramE2e, StartsShowsTheAdaptersFollowsTheSelectorRefreshesAndKeepsTheKeyboard) {
  SeedAdapter(2, "E2E NIC after a gap");
  std::ofstream{SystemFile("devcon.exe")};
  ASSERT_NO_FATAL_FAILURE(Start());
  // Page 0 for the adapter in class subkey 000n, once the action buttons are back.
  const auto expectShown = [&](const std::string& card, char n, const std::string& rest) {
    const std::string expected = card + " | {E2E0D15C-0000-4000-8000-00000000000" + n +
                                 "} | 本地连接 " + n + " | " + rest;
    std::string shown;
    EXPECT_TRUE(WaitUntil([&] {
      shown = Text(Control(C::网卡选择框));
      for (C id : {C::适配器标签, C::本地连接框, C::MAC信息框, C::提示标签}) shown += " | " + Text(Control(id));
      for (C id : {C::地址框, C::掩码框, C::网关框}) shown += " | " + AddressText(Control(id));
      return shown == expected && Enabled();
    }, kStartTimeout)) << shown << "\n" << expected;
  };
  // Every control of the layout is there, those on the other page of 功能选择夹 hidden.
  const auto expectPage = [&](int page) {
    for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
      const auto on = PageOf(LayoutOf(WindowId::Main), row);
      EXPECT_EQ(IsWindowVisible(Control(C(row.id))) != 0,
                !(row.flags & flag::kHidden) && (!on || on->second == page)) << row.id;
    }
  };
  const std::string mac = host_.second + " | 手动配置 | ", rest = " | 255.255.255.0 | 192.168.30.254";
  expectShown(host_.first, '0', mac + "192.168.30.5" + rest);
  const std::string carried = ReadWholeFile(PathOf("NETVANE_DEVCON_EXE"));
  EXPECT_TRUE(!carried.empty() && ReadWholeFile(SystemFile("devcon.exe")) == carried);
  expectPage(0);
  PostMessageA(Control(C::网卡选择框), WM_KEYDOWN, VK_DOWN, 0);
  expectShown("E2E NIC after a gap", '2', " | 手动配置 |  |  | ");

  // 刷新 reads the registry again and shows the first adapter; the click gave it the focus and
  // the busy state took it away, yet Enter still reaches the café button.
  Put(tcpip_, "IPAddress", "192.168.30.7\0\0"s, REG_MULTI_SZ);
  ASSERT_TRUE(Click(Control(C::刷新按钮)));
  expectShown(host_.first, '0', mac + "192.168.30.7" + rest);
  PressKey(main_, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Control(C::网吧修改框)) && !Text(main_).empty(); }));
  expectPage(1);
  for (char digit : "019"s) PressKey(main_, digit);
  PressKey(main_, VK_RETURN);  // not armed: page 0 again, nothing applied
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Control(C::本地连接框)) && !Text(main_).empty(); }));
  EXPECT_EQ(GetFileAttributesA("e2e-app\\netvane-undo.reg"), INVALID_FILE_ATTRIBUTES) << "applied";
  PostMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.ExitCode(), 0u);
}

// Emptied boxes switch to DHCP; the boxes and the advanced window's additions (an address, a
// gateway with its metric, the interface metric) are written byte for byte while a slow restart
// keeps the window answering; a failed write is reported. The devcon.exe already there is kept.
TEST_F(ProgramE2e, ModifyWritesDhcpThenTheBoxesAndTheAdvancedListsAndReportsAFailedWrite) {
  ASSERT_NO_FATAL_FAILURE(Start());
  for (C box : {C::地址框, C::掩码框, C::网关框}) SendMessageA(Control(box), IPM_CLEARADDRESS, 0, 0);
  Apply("修改完成……", "通过DHCP指派");
  EXPECT_EQ(Values(), "EnableDHCP dword 1\nIPAddress multi 192.168.30.5\0\0\nSubnetMask multi "
                      "255.255.255.0\0\0\nDefaultGateway absent\nDefaultGatewayMetric absent\n"
                      "InterfaceMetric absent\nNameServer sz \0\n"s);

  const std::pair<C, DWORD> boxes[] = {{C::地址框, MAKEIPADDRESS(192, 168, 30, 7)},
      {C::掩码框, MAKEIPADDRESS(255, 255, 255, 0)}, {C::网关框, MAKEIPADDRESS(192, 168, 30, 1)},
      {C::首选框, MAKEIPADDRESS(202, 96, 128, 86)}, {C::备用框, MAKEIPADDRESS(8, 8, 4, 4)}};
  for (const auto& [box, address] : boxes) SendMessageA(Control(box), IPM_SETADDRESS, 0, address);
  PostMessageA(Control(C::高级按钮), BM_CLICK, 0, 0);  // modal: a sent click returns when it closes
  const auto in = [](HWND window, auto id) { return GetDlgItem(window, static_cast<int>(id)); };
  using A = AdvancedControl;
  using E = EntryControl;
  HWND advanced = Window("高级 TCP/IP 设置"), entry;
  // Filled once its metric box is greyed: a click before then would act on half-filled lists.
  ASSERT_TRUE(WaitUntil([&] { return advanced && !IsWindowEnabled(in(advanced, A::跃点框)); }));
  ASSERT_TRUE(Click(in(advanced, A::添加按钮1)) && (entry = Window("TCP/IP 地址")));
  SendMessageA(in(entry, E::地址框), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 30, 8));
  SendMessageA(in(entry, E::掩码框), IPM_SETADDRESS, 0, MAKEIPADDRESS(255, 255, 0, 0));
  ASSERT_TRUE(Click(in(entry, E::添加按钮)) && Click(in(advanced, A::添加按钮2)) &&
              (entry = Window("TCP/IP 网关地址")));
  SendMessageA(in(entry, E::网关框), IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 30, 2));
  ASSERT_TRUE(Click(in(entry, E::自动框)) && SendMessageA(in(entry, E::跃点框), WM_SETTEXT, 0, LPARAM("20")) &&
              Click(in(entry, E::添加按钮)) && Click(in(advanced, A::跃点选择框)) &&
              SendMessageA(in(advanced, A::跃点框), WM_SETTEXT, 0, LPARAM("25")) &&
              Click(in(advanced, A::确定按钮)));

  // A restart that takes 6 s: meanwhile the window answers and Windows never calls it hung.
  std::ofstream(SystemFile("devcon.ini")) << "[recorder]\nsleep=6000\n";
  PostMessageA(Control(C::修改按钮), BM_CLICK, 0, 0);
  Sleep(5500);
  EXPECT_EQ(Status(500), "正在修改……");
  EXPECT_FALSE(IsHungAppWindow(main_));
  DeleteFileA(SystemFile("devcon.ini").c_str());
  Apply("修改完成……", "手动配置", false);
  // Each list as the layer stores it: a NUL after each item, then two more.
  EXPECT_EQ(Values(), "EnableDHCP dword 0\nIPAddress multi 192.168.30.7\0" "192.168.30.8\0\0\0\n"
                      "SubnetMask multi 255.255.255.0\0" "255.255.0.0\0\0\0\nDefaultGateway multi "
                      "192.168.30.1\0" "192.168.30.2\0\0\0\nDefaultGatewayMetric multi 0\0" "20\0\0\0\n"
                      "InterfaceMetric dword 25\nNameServer sz 202.96.128.86,8.8.4.4\0\n"s);
  const std::string card = "\"pci\\ven_e2e0&dev_0001\"", all = "=net pci*";  // twice: two applies
  EXPECT_EQ(Calls(), (std::multiset<std::string>{"disable " + card, "disable " + card, "disable " + all,
      "disable " + all, "enable " + card, "enable " + card, "enable " + all, "enable " + all}));

  Remove(tcpip_);  // every TCP/IP write of the next apply fails
  Apply("修改失败……", "手动配置");
}

// Enter, the machine number and Enter configure a client from ipset.ini. /auto then finds this
// PC in the machine table by its MAC, already set up, and changes nothing. The undo file of the
// keystrokes, imported by reg.exe, puts the registry back as it was.
TEST_F(ProgramE2e, KeystrokesConfigureACafeClientAutoFindsItDoneAndTheUndoFileRestores) {
  if (host_.second.empty()) GTEST_SKIP() << "the system lists no adapter with a MAC";
  std::ofstream("e2e-app\\ipset.ini") << "[配置]\n机器=User\n地址=192.168.16.\n掩码=255.255.255.0\n"
      "网关=192.168.16.254\n用户=China\n密码=cafe8\n首选=202.96.128.86\n[机器表]\n" << host_.second << "=019\n";
  const std::string before = Values(true);
  ASSERT_NO_FATAL_FAILURE(Start());
  EXPECT_TRUE(WaitUntil([&] { return Text(Control(C::机器数框)) == "019"; }));  // by the table
  PressKey(main_, VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Control(C::网吧修改框)) && !Text(main_).empty(); }));
  SendMessageA(Control(C::机器数框), WM_SETTEXT, 0, LPARAM(""));
  for (char digit : "019"s) PressKey(main_, digit);
  ASSERT_TRUE(WaitUntil([&] { return Text(Control(C::机器数框)) == "019"; }));
  PressKey(main_, VK_RETURN);
  Apply("修改完成……", "手动配置", false);
  const std::string applied = Values(true);
  EXPECT_EQ(applied, "EnableDHCP dword 0\nIPAddress multi 192.168.16.19\0\0\0\nSubnetMask multi "
                     "255.255.255.0\0\0\0\nDefaultGateway multi 192.168.16.254\0\0\0\n"
                     "DefaultGatewayMetric multi 0\0\0\0\nInterfaceMetric absent\nNameServer sz "
                     "202.96.128.86\0\nComputerName sz User019\0\nVirtualNetworkNumber dword 25\n"
                     "AutoAdminLogon sz 1\0\nDefaultUserName sz China\0\nDefaultPassword sz cafe8\0\n"
                     "DefaultDomainName sz User019\0\n"s);
  EXPECT_EQ(Calls().size(), 4u);
  PostMessageA(main_, WM_CLOSE, 0, 0);
  EXPECT_EQ(app_.ExitCode(), 0u);

  DeleteFileA(SystemFile("devcon-calls.log").c_str());
  App automatic, undo;
  ASSERT_TRUE(automatic.Start(kProgram + " /auto"));
  EXPECT_EQ(automatic.ExitCode(60000), 0u);
  EXPECT_EQ(Values(true), applied);
  EXPECT_TRUE(Calls().empty());
  EXPECT_TRUE(undo.Start("reg.exe import e2e-app\\netvane-undo.reg") && !undo.ExitCode(30000));
  EXPECT_EQ(Values(true), before);
}

// The shipped executables of this bitness load on Windows XP: each within 1 MiB, a subsystem
// version that XP's loader takes, nothing imported that post_xp_imports.txt lists.
TEST(Imports, NothingNewerThanWindowsXp) {
  std::set<std::string> forbidden;  // "dll!function", the DLL name in lower case
  std::istringstream list(ReadWholeFile(PathOf("NETVANE_E2E_DATA") + "\\post_xp_imports.txt"));
  for (std::string dll, function, rest; list >> dll >> function && std::getline(list, rest);) {
    if (dll[0] != '#') forbidden.insert(CharLowerA(dll.data()) + ("!" + function));
  }
  ASSERT_TRUE(forbidden.count("kernel32.dll!GetTickCount64")) << "post_xp_imports.txt unread";
  for (const char* variable : {"NETVANE_EXE", "NETVANE_DEVCON_EXE"}) {
    const std::string path = PathOf(variable);
    auto* base = reinterpret_cast<char*>(LoadLibraryExA(path.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES));
    ASSERT_TRUE(base && ReadWholeFile(path).size() <= (1u << 20)) << variable << ": not loaded, or over 1 MiB";
    const IMAGE_OPTIONAL_HEADER& header = ImageNtHeader(base)->OptionalHeader;  // XP: 5.01, XP x64: 5.02
    EXPECT_LE(header.MajorSubsystemVersion * 100 + header.MinorSubsystemVersion, sizeof(void*) == 8 ? 502 : 501);
    ULONG size = 0, imports = 0;
    for (auto* dll = static_cast<IMAGE_IMPORT_DESCRIPTOR*>(
             ImageDirectoryEntryToData(base, TRUE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
         dll && dll->Name; ++dll) {
      const std::string library = CharLowerA(std::string(base + dll->Name).data()) + "!"s;
      for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + dll->OriginalFirstThunk);
           thunk->u1.AddressOfData; ++thunk, ++imports) {
        if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
        const std::string name = library + (base + thunk->u1.AddressOfData + 2);  // after the hint
        EXPECT_EQ(forbidden.count(name), 0u) << variable << " imports " << name;
      }
    }
    EXPECT_GT(imports, 0u) << variable;
  }
}

// The 32-bit program on 64-bit Windows names the 64-bit one in a message box and ends without
// writing devcon.exe. Only the 64-bit ring runs it (NETVANE_WOW64_EXE).
TEST(Wow64E2e, The32BitProgramNamesThe64BitOneAndEnds) {
  char system32Bit[MAX_PATH] = {};
  ASSERT_GT(GetSystemWow64DirectoryA(system32Bit, MAX_PATH), 0u);
  const std::string devcon = system32Bit + "\\devcon.exe"s, program = PathOf("NETVANE_WOW64_EXE");
  DeleteFileA(devcon.c_str());
  App app;
  ASSERT_TRUE(app.Start("\"" + program + "\""));
  HWND box = Window("错误");
  ASSERT_NE(box, nullptr) << "no message box titled 错误";
  EXPECT_NE(Text(GetDlgItem(box, 0xFFFF)).find("netvane64.exe"), std::string::npos);
  Click(GetDlgItem(box, IDOK));  // the process may end before the click returns
  EXPECT_NE(app.ExitCode(), STILL_ACTIVE) << "still running after the message box";
  EXPECT_EQ(GetFileAttributesA(devcon.c_str()), INVALID_FILE_ATTRIBUTES) << devcon;
}

}  // namespace
}  // namespace netvane::e2e
