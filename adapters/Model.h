#pragma once
// The shared state of the program: the adapter catalogue, the selected adapter's working
// configuration and the little state the advanced window and its entry dialog keep.
#include <array>
#include <cstddef>
#include <string>
#include <vector>

#include "base/RegistryPaths.h"

namespace netvane {

// One row of an address, gateway or DNS list.
struct ListEntry {
  std::string primary;
  std::string secondary;
  friend bool operator==(const ListEntry&, const ListEntry&) = default;
};

// One adapter found by enumeration: twelve texts, in this order.
struct AdapterRecord {
  std::string driverDescription;
  std::string instanceId;
  std::string matchingDeviceId;
  std::string connectionName;
  std::string hardwareAddress;
  std::string interfaceMetric;
  std::string ipAddresses;
  std::string subnetMasks;
  std::string gateways;
  std::string gatewayMetrics;
  std::string nameServers;
  std::string configMode;
  friend bool operator==(const AdapterRecord&, const AdapterRecord&) = default;
};

// A list whose positions count from 1, as every list of the model does.
template <typename T>
class OneBasedList {
 public:
  void Clear() { items_.clear(); }
  void Append(const T& item) { items_.push_back(item); }
  std::size_t Count() const { return items_.size(); }
  bool Empty() const { return items_.empty(); }
  // Callers stay within 1..Count(); anything else is a programming error.
  const T& At(std::size_t position) const { return items_.at(position - 1); }
  void Replace(std::size_t position, const T& item) { items_.at(position - 1) = item; }
  void Remove(std::size_t position) {
    if (position >= 1 && position <= items_.size()) items_.erase(items_.begin() + (position - 1));
  }
  const std::vector<T>& Items() const { return items_; }
  auto begin() const { return items_.begin(); }
  auto end() const { return items_.end(); }
  friend bool operator==(const OneBasedList&, const OneBasedList&) = default;

 private:
  std::vector<T> items_;
};

// The selected adapter's working configuration.
struct AdapterConfig {
  std::size_t selectedAdapter = 0;  // position in the catalogue from 1; 0 until one is shown
  OneBasedList<ListEntry> addressList;
  OneBasedList<ListEntry> gatewayList;
  OneBasedList<std::string> dnsList;
  std::string interfaceMetric;  // empty means automatic
};

// The whole shared state. The application owns exactly one and hands it to every window.
struct SharedState {
  bool quickSetupLoaded = false;
  OneBasedList<AdapterRecord> adapters;
  AdapterConfig config;

  int entryTarget = 0;  // 1 addresses, 2 gateways, 3 DNS servers
  int entryMode = 0;    // 0 add, 1 edit
  ListEntry entryValue;
  ListEntry removedAddressEntry;
  ListEntry removedGatewayEntry;
  ListEntry removedDnsEntry;

  std::string refusal;  // the last refusal shown, for a start-up script's log line
};

}  // namespace netvane
