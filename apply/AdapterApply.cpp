#include "apply/AdapterApply.h"

#include <algorithm>
#include <utility>

#include "base/Text.h"
#include "config/UndoFile.h"

namespace netvane {
namespace {

using C = MainControl;
constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr const char* kStartPage = "Software\\Microsoft\\Internet Explorer\\Main\\Start Page";

// Sets entry `position` of a list, appending when the list is shorter: the fields of page 0
// stand for the first entries, whatever the list held before.
template <typename T>
void SetOrAppend(OneBasedList<T>& list, std::size_t position, const T& item) {
  if (list.Count() >= position) list.Replace(position, item);
  else list.Append(item);
}

std::string StatusOf(const SharedState& state) {
  const std::size_t selected = state.config.selectedAdapter;
  return selected >= 1 && selected <= state.adapters.Count()
             ? state.adapters.At(selected).configMode
             : std::string();
}

// Windows ends a list with two NULs where this program writes three: a list holds the same
// when it reads as the same items.
bool SameData(const std::optional<RegistryValue>& a, const std::optional<RegistryValue>& b) {
  if (!a || !b || a->type != b->type || a->type != regtype::kMultiSz) return a == b;
  return ListTextFromMultiString(a->data) == ListTextFromMultiString(b->data);
}

}  // namespace

bool IsValidComputerName(std::string_view name) {
  if (name.empty() || name.size() > 15) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (GbkPairAt(name, i)) {  // a Chinese character, whatever its second byte
      ++i;
      continue;
    }
    const char c = name[i];
    if (static_cast<unsigned char>(c) <= 0x20 || std::string_view("\\/:*?\"<>|").find(c) !=
                                                     std::string_view::npos) {
      return false;
    }
  }
  return true;
}

bool IsDottedQuad(std::string_view text) {
  int fields = 0;
  std::size_t digits = 0;
  unsigned value = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '.') {
      if (digits == 0 || value > 255 || ++fields > 4) return false;
      digits = 0;
      value = 0;
    } else if (text[i] >= '0' && text[i] <= '9' && digits < 3) {
      ++digits;
      value = value * 10 + static_cast<unsigned>(text[i] - '0');
    } else {
      return false;
    }
  }
  return fields == 4;
}

bool IsSafeDeviceId(std::string_view id) {
  if (id.empty()) return false;
  for (char c : id) {
    if (c == '"' || c == '%' || static_cast<unsigned char>(c) < 0x20) return false;
  }
  return true;
}

std::array<RestartCommand, 4> RestartCommands(std::string_view matchingDeviceId) {
  const std::string quoted = std::string("\"").append(matchingDeviceId).append("\"");
  return {{
      {"cmd /c devcon disable =net pci*", false},
      {"cmd /c devcon disable " + quoted, true},
      {"cmd /c devcon enable =net pci*", false},
      {"cmd /c devcon enable " + quoted, true},
  }};
}

AdapterApply::AdapterApply(SharedState& state, Services& services, Shell& shell,
                           MachineIdentity& identity, AdapterDiscovery& discovery)
    : state_(state), services_(services), shell_(shell), identity_(identity), discovery_(discovery) {}

ApplyResult AdapterApply::RunModify() {
  WindowSystem& windows = services_.windows;
  lastResult_ = ApplyResult::NotApplied;
  shell_.SetBusy(true);
  windows.SelectPage(C::功能选择夹, 0);
  windows.SetText(C::提示标签, kApplying);
  shell_.PollInput();
  const bool adapterShown = windows.ItemCount(C::网卡选择框) > 0 &&
                            windows.Item(C::网卡选择框, 0) != kNoAdapterFound;
  if (adapterShown) return ApplyAdapterSettings();
  shell_.SetBusy(false);
  return lastResult_;
}

std::string AdapterApply::UndoPath() {
  return services_.files.ProgramDirectory() + "\\" + std::string(kUndoFileName);
}

ApplyResult AdapterApply::ApplyAdapterSettings() {
  WindowSystem& windows = services_.windows;
  RegistryLayer& registry = services_.registry;
  lastResult_ = ApplyResult::NotApplied;
  const std::size_t selected = state_.config.selectedAdapter;
  if (selected < 1 || selected > state_.adapters.Count()) {  // nothing shown that could take it
    shell_.SetBusy(false);
    return lastResult_;
  }
  // What is checked is what gets written: input dispatched by the polls below may change the
  // boxes, the selection or the model, but not what this apply writes.
  const std::string computerName = windows.Text(C::机器名框);
  const std::string ipxText = windows.Text(C::网络号框);
  const std::string user = windows.Text(C::用户框2);
  const std::string password = windows.Text(C::密码框2);
  const bool startPage = windows.Checked(C::自动消块1);
  const AdapterConfig config = CollectMainWindowFields();
  if (!CheckBeforeWriting(computerName, ipxText, config)) return lastResult_;
  const AdapterRecord adapter = state_.adapters.At(selected);
  shell_.PollInput();

  std::vector<PlannedValue> plan = TcpipValues(kTcpipInterfacesKey + adapter.instanceId, config);
  if (auto ipx = IpxNetworkNumberValue(ipxText)) plan.push_back(std::move(*ipx));
  for (PlannedValue& value : ComputerNameValues(computerName)) plan.push_back(std::move(value));
  // The values before this mark are the machine's network identity: only a change among them
  // restarts the adapters. The logon and the start page take effect without.
  const std::size_t identityEnd = plan.size();
  // Without a user there is nobody to log on: an ipset.ini that names none leaves Windows'
  // automatic logon as it is, rather than switching it on for an empty name.
  if (state_.quickSetupLoaded && !user.empty()) {
    for (PlannedValue& value : AutoLogonValues(user, password, computerName)) {
      plan.push_back(std::move(value));
    }
  }
  // The browser start page is the operator's option, not part of the network settings: where
  // the browser keeps no such key the write fails, and that is no failure of the apply.
  if (startPage) plan.push_back({RootKey::CurrentUser, kStartPage, TextValue(kHomePageUrl), false});

  // What is written is saved first, as it was. A value under a missing key cannot be written,
  // and must not be in the undo file either: importing it would create the key. 修改 writes
  // every value even when none differs, but only an apply that changes the network identity
  // starts a new undo file; one that changes only the logon or the start page (a boot script
  // puts them back whenever Windows has reset them) adds what the file lacks. Either way the
  // settings from before stay restorable.
  std::vector<PlannedValue> changes, previous;
  bool restart = !onlyChanges_, differs = false, identityDiffers = false;
  for (std::size_t i = 0; i < plan.size(); ++i) {
    const PlannedValue& value = plan[i];
    CurrentValue current = registry.ReadCurrent(value.root, value.valuePath);
    if (!current.keyExists && !value.counts) continue;
    const bool same = SameData(current.value, value.value);
    if (onlyChanges_ && same) continue;
    differs = differs || !same;
    identityDiffers = identityDiffers || (i < identityEnd && !same);
    restart = restart || i < identityEnd;
    changes.push_back(value);
    if (current.keyExists) previous.push_back({value.root, value.valuePath, std::move(current.value)});
  }
  shell_.PollInput();
  if (changes.empty()) return Finish(ApplyResult::Unchanged, kUnchanged);
  const std::string undoPath = UndoPath();
  if (differs && !SaveUndoFile(undoPath, std::move(previous), identityDiffers)) {
    Refuse("无法写入撤销文件，未作任何修改：" + undoPath);
    return lastResult_;
  }

  bool ok = true;
  for (const PlannedValue& value : changes) {
    ok = (registry.Store(value) || !value.counts) && ok;
    shell_.PollInput();
  }
  if (restart) ok = RestartAdapters(adapter.matchingDeviceId) && ok;
  return Finish(ok ? ApplyResult::Applied : ApplyResult::Failed, ok ? kApplied : kApplyFailed);
}

bool AdapterApply::SaveUndoFile(const std::string& path, std::vector<PlannedValue> previous, bool fresh) {
  const auto bytes = fresh ? std::nullopt : services_.files.ReadWholeFile(path);
  if (auto kept = bytes ? ParseUndoFile(*bytes) : std::nullopt) {
    for (PlannedValue& value : previous) {
      const auto same = [&](const PlannedValue& old) {
        return old.root == value.root && old.valuePath == value.valuePath;
      };
      if (std::none_of(kept->begin(), kept->end(), same)) kept->push_back(std::move(value));
    }
    previous = std::move(*kept);
  }
  return services_.files.ReplaceWholeFile(path, RenderUndoFile(previous));
}

ApplyResult AdapterApply::Finish(ApplyResult result, std::string_view status) {
  services_.windows.SetText(C::提示标签, status);
  WaitResponsive(3500);
  discovery_.EnumerateAdapters();
  lastResult_ = result;
  return result;
}

bool AdapterApply::CheckBeforeWriting(std::string_view computerName, std::string_view ipxText,
                                      const AdapterConfig& config) {
  if (!IsValidComputerName(computerName)) {
    Refuse("计算机名无效：" + std::string(computerName));
    return false;
  }
  if (ipxText != kIpxNotInstalled && !IsHexNetworkNumber(ipxText)) {
    Refuse("网络号无效：" + std::string(ipxText));
    return false;
  }
  // An address box left half filled reads as "192.168.." and would be stored as an address.
  const std::pair<C, const char*> boxes[] = {
      {C::地址框, "IP 地址无效："},        {C::掩码框, "子网掩码无效："},
      {C::网关框, "默认网关无效："},       {C::首选框, "首选 DNS 服务器无效："},
      {C::备用框, "备用 DNS 服务器无效："},
  };
  for (const auto& [box, message] : boxes) {
    const std::string text = services_.windows.Text(box);
    if (!text.empty() && !IsDottedQuad(text)) {
      Refuse(message + text);
      return false;
    }
  }
  // The entries behind the boxes are written too. One that came by another road (a box half
  // typed when 高级 opened, a list in the registry with an empty item) is checked the same way.
  // Windows keeps no address without its mask: the card would have none after the restart.
  std::string fault;
  for (const ListEntry& entry : config.addressList) {
    if (!fault.empty()) break;
    if (!IsDottedQuad(entry.primary)) fault = "IP 地址无效：" + entry.primary;
    else if (entry.secondary.empty()) fault = "缺少子网掩码：" + entry.primary;
    else if (!IsDottedQuad(entry.secondary)) fault = "子网掩码无效：" + entry.secondary;
  }
  for (const ListEntry& entry : config.gatewayList) {
    if (fault.empty() && !IsDottedQuad(entry.primary)) fault = "默认网关无效：" + entry.primary;
  }
  for (const std::string& server : config.dnsList) {  // blanks and empty places are kept
    const std::string trimmed = TrimSpaces(server);
    if (fault.empty() && !trimmed.empty() && !IsDottedQuad(trimmed)) fault = "DNS 服务器无效：" + server;
  }
  if (!fault.empty()) Refuse(fault);
  return fault.empty();
}

void AdapterApply::Refuse(std::string_view message) {
  state_.refusal = message;
  services_.windows.ShowMessage(WindowId::Main, message, kErrorTitle, MessageIcon::Exclamation);
  services_.windows.SetText(C::提示标签, StatusOf(state_));
  shell_.SetBusy(false);
}

std::vector<PlannedValue> TcpipValues(const std::string& key, const AdapterConfig& config) {
  std::string addresses, masks, gateways, metrics, servers;
  for (const ListEntry& entry : config.addressList) {
    addresses.append(entry.primary).append(kCrLf);
    masks.append(entry.secondary).append(kCrLf);
  }
  for (const ListEntry& entry : config.gatewayList) {
    gateways.append(entry.primary).append(kCrLf);
    metrics.append(entry.secondary).append(kCrLf);
  }
  for (const std::string& server : config.dnsList) servers.append(server).append(",");
  if (!servers.empty()) servers.pop_back();

  const auto at = [&key](const char* name) { return key + "\\" + name; };
  std::vector<PlannedValue> values;
  if (addresses.empty()) {  // DHCP: the static addresses stay for a later switch back
    values.push_back({kMachine, at("EnableDHCP"), NumberValue(1)});
  } else {
    values.push_back({kMachine, at("EnableDHCP"), NumberValue(0)});
    values.push_back({kMachine, at("IPAddress"), MultiStringValue(addresses)});
    values.push_back({kMachine, at("SubnetMask"), MultiStringValue(masks)});
  }
  const bool none = gateways.empty();
  values.push_back({kMachine, at("DefaultGateway"),
                    none ? std::nullopt : std::optional(MultiStringValue(gateways))});
  values.push_back({kMachine, at("DefaultGatewayMetric"),
                    none ? std::nullopt : std::optional(MultiStringValue(metrics))});
  values.push_back({kMachine, at("InterfaceMetric"), InterfaceMetricValue(config.interfaceMetric)});
  values.push_back({kMachine, at("NameServer"), TextValue(servers)});
  return values;
}

// cmd.exe by its full path, in the system directory: "devcon" then resolves to the copy there,
// never to a file of that name in our folder or the current one.
bool AdapterApply::RestartAdapters(std::string_view matchingDeviceId) {
  std::string system = services_.files.SystemDirectory();
  while (!system.empty() && system.back() == '\\') system.pop_back();
  // Without the system directory no cmd.exe can be named: nothing is started, and it fails.
  if (system.empty()) return false;
  // An id that could break out of its quotes is never put on a command line. Without the card's
  // own two lines, the two for every card would run at once, unwaited: the enable could come
  // first and leave every card disabled. Nothing is started, and it fails.
  if (!IsSafeDeviceId(matchingDeviceId)) return false;
  const auto pump = [this] { services_.input.DispatchPending(); };
  bool ok = true;
  // Ended in the middle, the program would leave every PCI card disabled: an exit asked for
  // meanwhile waits until the restart is done.
  shell_.HoldExit(true);
  for (const RestartCommand& command : RestartCommands(matchingDeviceId)) {
    const ProcessRequest request{system + "\\cmd.exe", command.commandLine, system,
                                 WindowMode::Hidden,
                                 command.wait ? WaitMode::WaitForExit : WaitMode::NoWait};
    ok = services_.processes.Start(request, pump) && ok;
    shell_.PollInput();
  }
  shell_.HoldExit(false);
  return ok;
}

AdapterConfig AdapterApply::CollectMainWindowFields() const {
  WindowSystem& windows = services_.windows;
  AdapterConfig config = state_.config;

  const std::string preferred = windows.Text(C::首选框);
  const std::string alternate = windows.Text(C::备用框);
  OneBasedList<std::string>& dns = config.dnsList;
  if (!alternate.empty()) {  // an empty preferred server keeps its place as an empty entry
    SetOrAppend(dns, 1, preferred);
    SetOrAppend(dns, 2, alternate);
  } else {
    if (dns.Count() >= 2) dns.Remove(2);
    if (!preferred.empty()) SetOrAppend(dns, 1, preferred);
    else dns.Remove(1);
  }

  const std::string gateway = windows.Text(C::网关框);
  OneBasedList<ListEntry>& gateways = config.gatewayList;
  if (gateway.empty()) {
    gateways.Remove(1);
  } else if (gateways.Empty()) {
    gateways.Append(ListEntry{gateway, "0"});
  } else {
    const std::string& metric = gateways.At(1).secondary;
    gateways.Replace(1, ListEntry{gateway, IntegerValue(metric) == 0 ? "0" : metric});
  }

  const std::string address = windows.Text(C::地址框);
  if (address.empty()) {
    config.addressList.Remove(1);  // later addresses stay: the adapter stays static
  } else {
    SetOrAppend(config.addressList, 1, ListEntry{address, windows.Text(C::掩码框)});
  }
  return config;
}

void AdapterApply::ShowConfigInMainWindow() {
  WindowSystem& windows = services_.windows;
  const AdapterConfig& config = state_.config;
  const ListEntry none;
  const ListEntry& address = config.addressList.Empty() ? none : config.addressList.At(1);
  windows.SetText(C::地址框, address.primary);
  windows.SetText(C::掩码框, address.secondary);
  shell_.PollInput();
  windows.SetText(C::网关框, config.gatewayList.Empty() ? "" : config.gatewayList.At(1).primary);
  shell_.PollInput();
  windows.SetText(C::首选框, config.dnsList.Count() >= 1 ? config.dnsList.At(1) : "");
  windows.SetText(C::备用框, config.dnsList.Count() >= 2 ? config.dnsList.At(2) : "");
  shell_.PollInput();
}

void AdapterApply::WaitResponsive(std::uint32_t milliseconds) {
  Clock& clock = services_.clock;
  const std::uint32_t start = clock.TickCount();
  do {
    services_.input.DispatchPending();
    clock.Sleep(100);
  } while (clock.TickCount() - start < milliseconds);  // unsigned: right across the wrap
}

}  // namespace netvane
