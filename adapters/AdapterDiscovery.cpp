#include "adapters/AdapterDiscovery.h"

#include <algorithm>
#include <cstdint>

#include "base/Text.h"

namespace netvane {
namespace {

using C = MainControl;
constexpr RootKey kMachine = RootKey::LocalMachine;
// Windows appends this to the description of every adapter bound to the packet scheduler.
constexpr std::string_view kSchedulerSuffix = "- 数据包计划程序微型端口";

// DhcpNameServer separates its servers by spaces where NameServer uses commas; one form
// lets every server become its own DNS entry.
std::string CommaSeparatedServers(std::string_view servers) {
  std::string joined;
  std::string piece;
  auto flush = [&] {
    if (piece.empty()) return;
    if (!joined.empty()) joined += ',';
    joined += piece;
    piece.clear();
  };
  for (char c : servers) {
    if (c == ' ' || c == ',') flush();
    else piece += c;
  }
  flush();
  return joined;
}

// Windows takes spaces between the servers too, with or without commas: a text without a
// comma, and a piece between commas that holds two servers, are split at their spaces. The
// other pieces keep their places and their blanks.
std::string NameServersOf(std::string_view servers) {
  if (servers.find(',') == std::string_view::npos) return CommaSeparatedServers(servers);
  std::string joined;
  for (std::size_t start = 0, end = 0; end != std::string_view::npos; start = end + 1) {
    end = servers.find(',', start);
    const std::string piece(servers.substr(start, end == std::string_view::npos ? end : end - start));
    if (start > 0) joined += ',';
    joined += TrimSpaces(piece).find(' ') == std::string::npos ? piece : CommaSeparatedServers(piece);
  }
  return joined;
}

// The adapter's interface metric as decimal text; empty for automatic (0 or absent). A DWORD:
// read unsigned, so no stored value ever shows as a negative metric.
std::string InterfaceMetricOf(KeyReader& tcpipKey) {
  const auto metric = static_cast<std::uint32_t>(tcpipKey.Number("InterfaceMetric"));
  return metric == 0 ? std::string() : std::to_string(metric);
}

// The adapter's connection key, which names its device and holds its connection name.
std::string ConnectionKey(std::string_view instanceId) {
  return std::string(kNetworkConnectionsKey) + std::string(instanceId) + "\\Connection";
}

}  // namespace

std::vector<std::string> AdapterSubkeys(std::vector<std::string> names) {
  // Numeric order: long runs of digits sort after short ones, as 10000 follows 9999.
  std::erase_if(names, [](const std::string& name) {
    return name.empty() || name.size() > 9 ||
           name.find_first_not_of("0123456789") != std::string::npos;
  });
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    return std::stoul(a) < std::stoul(b);
  });
  return names;
}

std::string LookUpHardwareAddress(const std::vector<NamedHardwareAddress>& system,
                                  std::string_view instanceId, std::string_view driverDescription) {
  for (const NamedHardwareAddress& adapter : system) {
    if (!instanceId.empty() && adapter.adapterName == instanceId) return adapter.hardwareAddress;
  }
  for (const NamedHardwareAddress& adapter : system) {
    if (adapter.name == driverDescription) return adapter.hardwareAddress;
  }
  return {};
}

AdapterDiscovery::AdapterDiscovery(SharedState& state, Services& services, Shell& shell,
                                   MachineIdentity& identity)
    : state_(state), services_(services), shell_(shell), identity_(identity) {}

void AdapterDiscovery::EnumerateAdapters() {
  WindowSystem& windows = services_.windows;
  RegistryLayer& registry = services_.registry;
  const unsigned scan = ++scanGeneration_;
  ++showGeneration_;  // a show still running reads a catalogue that is about to go

  windows.SetText(C::MAC信息框, kDetecting);
  windows.SetText(C::提示标签, kDetecting);
  state_.adapters.Clear();
  state_.config.selectedAdapter = 0;  // nothing is selected while the catalogue is rebuilt
  windows.ClearItems(C::网卡选择框);

  // The system's list once per scan: it costs as much as the registry reads of every adapter.
  const std::vector<NamedHardwareAddress> system = ListSystemAdapters();
  AdapterRecord scratch;
  // The subkeys that exist: a removed driver leaves a gap in the numbering and some virtual
  // adapters have no upper binding, and a card behind either must still be found.
  for (const std::string& subkey : AdapterSubkeys(registry.SubkeyNames(kMachine, kAdapterClassKey))) {
    const std::string key = kAdapterClassKey + subkey;
    if (!registry.RegistryValueExists(kMachine, key + "\\Linkage\\UpperBind")) continue;
    if (registry.ReadRegistryText(kMachine, key + "\\Ndi\\Interfaces\\LowerRange") != "ethernet") {
      continue;
    }
    {
      // Each key is opened once for all of its values: under Wine every open, read and close
      // is a round trip to the server.
      KeyReader adapterKey = registry.OpenForReading(kMachine, key);
      scratch.driverDescription = adapterKey.Text("DriverDesc");
      scratch.instanceId = adapterKey.Text("NetCfgInstanceId");
      scratch.matchingDeviceId = adapterKey.Text("MatchingDeviceId");
    }
    {
      KeyReader connection = registry.OpenForReading(kMachine, ConnectionKey(scratch.instanceId));
      if (!IsDevicePresent(connection)) continue;
      scratch.connectionName = connection.Text("Name");
    }
    scratch.hardwareAddress = LookUpHardwareAddress(system, scratch.instanceId, scratch.driverDescription);
    ReadAddressingSettings(scratch);
    shell_.PollInput();
    if (ScanSuperseded(scan)) return;
    // No poll between the two: the selector and the catalogue stay in step.
    windows.AddItem(C::网卡选择框, scratch.driverDescription);
    state_.adapters.Append(scratch);
  }

  shell_.PollInput();
  if (ScanSuperseded(scan)) return;
  windows.SetText(C::机器名框, identity_.ReadComputerName());
  shell_.PollInput();
  if (ScanSuperseded(scan)) return;
  const std::string ipx = identity_.ReadIpxNetworkNumber();
  const bool installed = ipx != kIpxNotInstalled;
  windows.SetText(C::网络号框, ipx);
  windows.SetReadOnly(C::网络号框, !installed);
  windows.SetTextColor(C::网络号框, installed ? kBlue : kRed);
  shell_.PollInput();
  if (ScanSuperseded(scan)) return;
  if (windows.ItemCount(C::网卡选择框) == 0) windows.AddItem(C::网卡选择框, kNoAdapterFound);
  windows.Select(C::网卡选择框, 0);
  ShowSelectedAdapter();
  if (ScanSuperseded(scan)) return;
  // Only now: an action started while the adapter was still being shown (the advanced window,
  // an apply) would take half-filled boxes for the operator's settings.
  shell_.SetBusy(false);
  shell_.PollInput();
}

bool AdapterDiscovery::IsAdapterPresent(std::string_view instanceId) {
  KeyReader connection = services_.registry.OpenForReading(kMachine, ConnectionKey(instanceId));
  return IsDevicePresent(connection);
}

bool AdapterDiscovery::IsDevicePresent(KeyReader& connection) {
  const std::string device = connection.Text("PnpInstanceID");
  if (device.empty()) return false;  // no device behind the connection
  const std::string service = services_.registry.ReadRegistryText(
      kMachine, std::string(kDeviceEnumKey) + device + "\\Control\\ActiveService");
  return !service.empty();
}

std::vector<NamedHardwareAddress> AdapterDiscovery::ListSystemAdapters() {
  std::vector<NamedHardwareAddress> list;
  for (const SystemAdapter& adapter : services_.systemAdapters.List()) {
    std::string_view name = adapter.description;
    name = name.substr(0, name.find(kSchedulerSuffix));
    list.push_back(NamedHardwareAddress{adapter.adapterName, TrimSpaces(name), adapter.hardwareAddress});
  }
  return list;
}

void AdapterDiscovery::ReadAddressingSettings(AdapterRecord& record) {
  KeyReader key =
      services_.registry.OpenForReading(kMachine, kTcpipInterfacesKey + record.instanceId);
  switch (key.Number("EnableDHCP")) {
    case 0:
      record.ipAddresses = key.MultiString("IPAddress");
      record.subnetMasks = key.MultiString("SubnetMask");
      record.gateways = key.MultiString("DefaultGateway");
      record.nameServers = NameServersOf(key.Text("NameServer"));
      record.gatewayMetrics = key.MultiString("DefaultGatewayMetric");
      record.interfaceMetric = InterfaceMetricOf(key);
      record.configMode = kStaticMode;
      break;
    case 1:
      record.ipAddresses = key.Text("DhcpIPAddress");
      record.subnetMasks = key.Text("DhcpSubnetMask");
      record.gateways = key.MultiString("DhcpDefaultGateway");
      record.nameServers = CommaSeparatedServers(key.Text("DhcpNameServer"));
      record.gatewayMetrics = key.MultiString("DefaultGatewayMetric");
      record.interfaceMetric = InterfaceMetricOf(key);
      record.configMode = kDhcpMode;
      break;
    default:
      record.interfaceMetric.clear();
      record.ipAddresses.clear();
      record.subnetMasks.clear();
      record.gateways.clear();
      record.gatewayMetrics.clear();
      record.nameServers.clear();
      record.configMode.clear();
      break;
  }
}

std::string AdapterDiscovery::ReadInterfaceMetric(std::string_view instanceId) {
  KeyReader key = services_.registry.OpenForReading(
      kMachine, std::string(kTcpipInterfacesKey) + std::string(instanceId));
  return InterfaceMetricOf(key);
}

void AdapterDiscovery::ShowSelectedAdapter() {
  WindowSystem& windows = services_.windows;
  if (windows.Item(C::网卡选择框, 0) == kNoAdapterFound) return;
  const int selection = windows.Selection(C::网卡选择框);
  // A selector caught half-filled by a scan may have nothing selected that the catalogue holds.
  if (selection < 0 || static_cast<std::size_t>(selection) >= state_.adapters.Count()) return;
  const unsigned show = ++showGeneration_;

  windows.SelectPage(C::功能选择夹, 0);
  const std::size_t position = static_cast<std::size_t>(selection) + 1;
  const AdapterRecord& record = state_.adapters.At(position);
  windows.SetText(C::适配器标签, record.instanceId);
  windows.SetText(C::本地连接框, record.connectionName);
  windows.SetText(C::MAC信息框, record.hardwareAddress);
  windows.SetText(C::提示标签, record.configMode);
  shell_.PollInput();
  if (ShowSuperseded(show)) return;
  BuildAdapterLists(position);
}

void AdapterDiscovery::BuildAdapterLists(std::size_t position) {
  if (position < 1 || position > state_.adapters.Count()) return;
  WindowSystem& windows = services_.windows;
  AdapterConfig& config = state_.config;
  const unsigned show = ++showGeneration_;
  // A copy: a scan dispatched by a poll below may replace the catalogue.
  const AdapterRecord record = state_.adapters.At(position);
  // Each poll may let a newer show or scan in; this one then stops touching anything.
  const auto poll = [&] {
    shell_.PollInput();
    return !ShowSuperseded(show);
  };

  // The lists are built aside and take the place of the old ones only when the build has run
  // to its end: one overtaken by a newer show or scan leaves no half-built lists behind.
  OneBasedList<ListEntry> addressList;
  OneBasedList<ListEntry> gatewayList;
  OneBasedList<std::string> dnsList;
  const std::vector<std::string> addresses = SplitText(record.ipAddresses, kCrLf);
  if (!poll()) return;
  const std::vector<std::string> masks = SplitText(record.subnetMasks, kCrLf, addresses.size());
  if (!poll()) return;
  const std::vector<std::string> gateways = SplitText(record.gateways, kCrLf);
  if (!poll()) return;
  const std::vector<std::string> metrics =
      SplitText(record.gatewayMetrics, kCrLf, gateways.size());
  if (!poll()) return;
  for (std::string& server : SplitText(record.nameServers, ",")) dnsList.Append(server);
  if (!poll()) return;

  for (std::size_t j = 0; j < addresses.size(); ++j) {
    if (!poll()) return;
    // A missing mask stays empty for the operator to fill in.
    addressList.Append(ListEntry{addresses[j], j < masks.size() ? masks[j] : ""});
    if (!poll()) return;
  }
  for (std::size_t j = 0; j < gateways.size(); ++j) {
    if (!poll()) return;
    // A metric that reads as the integer 0, or none at all, means automatic.
    const bool automatic = j >= metrics.size() || IntegerValue(metrics[j]) == 0;
    gatewayList.Append(ListEntry{gateways[j], automatic ? "0" : metrics[j]});
    if (!poll()) return;
  }
  // The selection moves with its lists: a 修改 dispatched by a poll above still finds the
  // boxes and lists of the adapter it writes to.
  config.selectedAdapter = position;
  config.interfaceMetric = record.interfaceMetric;
  config.addressList = std::move(addressList);
  config.gatewayList = std::move(gatewayList);
  config.dnsList = std::move(dnsList);

  const auto first = [](const auto& list, auto member) {
    return list.Empty() ? std::string() : list.At(1).*member;
  };
  windows.SetText(C::地址框, first(config.addressList, &ListEntry::primary));
  windows.SetText(C::掩码框, first(config.addressList, &ListEntry::secondary));
  windows.SetText(C::网关框, first(config.gatewayList, &ListEntry::primary));
  windows.SetText(C::首选框, config.dnsList.Count() >= 1 ? config.dnsList.At(1) : "");
  windows.SetText(C::备用框, config.dnsList.Count() >= 2 ? config.dnsList.At(2) : "");
}

}  // namespace netvane
