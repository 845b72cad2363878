#include "quicksetup/QuickSetup.h"

#include <cstdint>
#include <tuple>
#include <utility>

#include "base/Text.h"

namespace netvane {
namespace {

using C = MainControl;

// The nine keys of the section, in the order they are read and written, with their fields.
struct Setting {
  const char* key;
  C field;
  std::string_view fallback;  // the first run's value
};
constexpr Setting kTextSettings[] = {
    {"机器", C::机器名框2, "User"},         {"地址", C::地址框2, "192.168.16."},
    {"掩码", C::掩码框2, "255.255.255.0"},  {"网关", C::网关框2, "192.168.16.254"},
    {"用户", C::用户框2, "China"},          {"密码", C::密码框2, ""},
    {"首选", C::首选框2, kDefaultPreferredDns}, {"备用", C::备用框2, kDefaultAlternateDns},
};
constexpr const char* kAddTenKey = "增位";

// A checked dotted quad as its 32-bit number.
std::uint32_t AddressNumber(std::string_view text) {
  std::uint32_t number = 0;
  for (const std::string& field : SplitText(text, ".")) {
    number = number << 8 | static_cast<std::uint32_t>(IntegerValue(field));
  }
  return number;
}

}  // namespace

// The profile read trims blanks and takes off one pair of enclosing quotes: a value it would
// change (a password with a blank at an end, or in quotes) is written quoted, to read back whole.
std::string ProfileText(const std::string& value) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  const bool quoted = value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0];
  const bool changed = !value.empty() && (blank(value.front()) || blank(value.back()) || quoted);
  return changed ? '"' + value + '"' : value;
}

std::optional<unsigned> HostNumber(std::string_view machineNumber, bool addTen) {
  while (machineNumber.size() > 1 && machineNumber.front() == '0') machineNumber.remove_prefix(1);
  if (machineNumber.empty() || machineNumber.size() > 9) return std::nullopt;
  unsigned n = 0;
  for (char c : machineNumber) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + static_cast<unsigned>(c - '0');
  }
  return addTen ? n + 10 : n;
}

QuickSetup::QuickSetup(SharedState& state, Services& services, Shell& shell, AdapterApply& apply)
    : state_(state), services_(services), shell_(shell), apply_(apply) {}

std::string QuickSetup::SettingsPath() { return services_.files.ProgramDirectory() + "\\ipset.ini"; }

void QuickSetup::LoadQuickSetup() {
  WindowSystem& windows = services_.windows;
  const std::string path = SettingsPath();
  const std::string section(kSettingsSection);
  const bool exists = services_.files.Exists(path);
  // An existing file gives every field its own value, empty when the key is absent.
  for (const Setting& setting : kTextSettings) {
    windows.SetText(setting.field, exists ? services_.ini.ReadString(path, section, setting.key, "")
                                          : std::string(setting.fallback));
  }
  windows.SetChecked(C::增位框,
                     exists && services_.ini.ReadString(path, section, kAddTenKey, "") == kTicked);
  state_.quickSetupLoaded = exists;
  table_ = exists ? ParseMachineTable(services_.ini.ReadSection(path, std::string(kMachineTableSection)))
                  : MachineTable{};
}

TableLookup QuickSetup::FillFromMachineTable() {
  if (table_.rows.empty()) return TableLookup::NoTable;
  if (table_.clash) {
    std::string message = "机器表有误：";
    message.append(table_.clash->first).append(" 和 ").append(table_.clash->second);
    message.append(" 对应同一机器号或同一网卡");
    services_.windows.ShowMessage(WindowId::Main, message, kErrorTitle, MessageIcon::Exclamation);
    return TableLookup::Clash;
  }
  const std::size_t selected = state_.config.selectedAdapter;
  if (selected < 1 || selected > state_.adapters.Count()) return TableLookup::NotListed;
  const auto number = LookUpMachineNumber(table_, state_.adapters.At(selected).hardwareAddress);
  if (!number) return TableLookup::NotListed;
  services_.windows.SetText(C::机器数框, *number);
  return TableLookup::Filled;
}

void QuickSetup::SaveQuickSetup() {
  WindowSystem& windows = services_.windows;
  const std::string path = SettingsPath();
  const std::string section(kSettingsSection);
  bool saved = true;
  for (const Setting& setting : kTextSettings) {
    saved = saved && services_.ini.WriteString(path, section, setting.key, ProfileText(windows.Text(setting.field)));
  }
  const std::string_view addTen = windows.Checked(C::增位框) ? kTicked : kUnticked;
  saved = saved && services_.ini.WriteString(path, section, kAddTenKey, std::string(addTen));
  if (saved) {
    windows.ShowMessage(WindowId::Main, "配置信息保存完毕！", "提示", MessageIcon::Information);
  } else {
    windows.ShowMessage(WindowId::Main, "配置信息保存失败！", kErrorTitle, MessageIcon::Exclamation);
  }
  windows.SelectPage(C::功能选择夹, 0);
}

void QuickSetup::FillFromMachineNumber() {
  WindowSystem& windows = services_.windows;
  const std::string number = windows.Text(C::机器数框);
  const std::optional<unsigned> host = HostNumber(number, windows.Checked(C::增位框));
  if (!host) {
    Refuse("机器号无效：", number);
    return;
  }
  const std::string name = windows.Text(C::机器名框2) + number;
  if (!IsValidComputerName(name)) {
    Refuse("计算机名无效：", name);
    return;
  }
  const std::string address = windows.Text(C::地址框2) + std::to_string(*host);
  // An IP-address box cannot hold what is no address; given one, it would apply another. The
  // address and its mask must be whole; a café without a gateway or DNS server leaves it empty.
  const std::tuple<std::string, const char*, bool> derived[] = {
      {address, "IP 地址无效：", false},
      {windows.Text(C::掩码框2), "子网掩码无效：", false},
      {windows.Text(C::网关框2), "默认网关无效：", true},
      {windows.Text(C::首选框2), "首选 DNS 服务器无效：", true},
      {windows.Text(C::备用框2), "备用 DNS 服务器无效：", true},
  };
  for (const auto& [text, message, mayBeEmpty] : derived) {
    if (!IsDottedQuad(text) && !(mayBeEmpty && text.empty())) {
      Refuse(message, text);
      return;
    }
  }
  // A number that makes the network's own address or its broadcast address reaches nobody.
  const std::uint32_t hostBits = ~AddressNumber(windows.Text(C::掩码框2));
  const std::uint32_t hostPart = AddressNumber(address) & hostBits;
  if (hostPart == 0 || hostPart == hostBits) {
    Refuse("IP 地址无效：", address);
    return;
  }
  // One that makes the gateway's address takes the whole café's way out.
  const std::string gateway = windows.Text(C::网关框2);
  if (!gateway.empty() && AddressNumber(gateway) == AddressNumber(address)) {
    Refuse("IP 地址与默认网关相同：", address);
    return;
  }

  windows.SetText(C::机器名框, name);
  windows.SetText(C::掩码框, windows.Text(C::掩码框2));
  windows.SetText(C::网关框, windows.Text(C::网关框2));
  windows.SetText(C::首选框, windows.Text(C::首选框2));
  windows.SetText(C::备用框, windows.Text(C::备用框2));
  windows.SetText(C::地址框, address);
  if (windows.Text(C::网络号框) != kIpxNotInstalled) {
    windows.SetText(C::网络号框, std::to_string(*host));
  }
  services_.input.DispatchPending();
  // The client gets the one address derived for it: a second address that the cloned image
  // carried would be the same on every client of the café.
  OneBasedList<ListEntry>& addresses = state_.config.addressList;
  while (addresses.Count() > 1) addresses.Remove(addresses.Count());
  windows.SelectPage(C::功能选择夹, 0);
  apply_.RunModify();
}

// Applies nothing: the operator stays on page 1, where what is wrong can be mended.
void QuickSetup::Refuse(std::string_view message, std::string_view text) {
  state_.refusal = std::string(message) + std::string(text);
  services_.windows.ShowMessage(WindowId::Main, state_.refusal, kErrorTitle, MessageIcon::Exclamation);
  shell_.SetBusy(false);
}

}  // namespace netvane
