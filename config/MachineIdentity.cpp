#include "config/MachineIdentity.h"

#include <cstdint>
#include <string>
#include <utility>

#include "base/Text.h"

namespace netvane {
namespace {

constexpr RootKey kMachine = RootKey::LocalMachine;
constexpr std::string_view kDigits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

constexpr const char* kComputerNamePath =
    "SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName\\ComputerName";
// Windows reads the name from both control sets and TCP/IP keeps its own copy in each.
constexpr const char* kComputerNamePaths[] = {
    kComputerNamePath,
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\NV Hostname",
    "SYSTEM\\ControlSet001\\Control\\ComputerName\\ComputerName\\ComputerName",
    "SYSTEM\\ControlSet001\\Services\\Tcpip\\Parameters\\NV Hostname",
};
constexpr const char* kWinlogonKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon\\";
constexpr const char* kIpxDisplayName = "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\DisplayName";
constexpr const char* kIpxNetworkNumber =
    "SYSTEM\\CurrentControlSet\\Services\\NwlnkIpx\\Parameters\\VirtualNetworkNumber";

unsigned DigitValue(char c) {
  if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
  if (c >= 'A' && c <= 'Z') return static_cast<unsigned>(c - 'A' + 10);
  if (c >= 'a' && c <= 'z') return static_cast<unsigned>(c - 'a' + 10);
  return 0;
}

bool ValidBase(int base) { return base >= 2 && base <= 36; }

}  // namespace

std::string ConvertBase(std::string_view text, int from, int to) {
  if (from == to) return std::string(text);
  if (!ValidBase(from) || !ValidBase(to)) return {};
  // Horner's rule in unsigned arithmetic gives the positional sum modulo 2^32 exactly, with no
  // overflow anywhere: the 64-bit product of a 32-bit value and a base of at most 36 fits.
  std::uint64_t value = 0;
  for (char c : text) {
    value = (value * static_cast<std::uint64_t>(from) + DigitValue(c)) & 0xFFFFFFFFu;
  }
  std::string result;
  const auto base = static_cast<std::uint64_t>(to);
  do {
    result.insert(result.begin(), kDigits[value % base]);
    value /= base;
  } while (value > 0);
  return result;
}

bool IsHexNetworkNumber(std::string_view text) {
  if (text.size() > 8) return false;
  for (char c : text) {
    const bool hex = (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    if (!hex) return false;
  }
  return true;
}

std::vector<PlannedValue> ComputerNameValues(std::string_view name) {
  std::vector<PlannedValue> values;
  for (const char* path : kComputerNamePaths) values.push_back({kMachine, path, TextValue(name)});
  return values;
}

std::vector<PlannedValue> AutoLogonValues(std::string_view user, std::string_view password,
                                          std::string_view domain) {
  const std::string key = kWinlogonKey;
  const std::pair<const char*, std::string_view> values[] = {
      {"AutoAdminLogon", "1"},       {"DefaultUserName", user},
      {"DefaultPassword", password}, {"DefaultDomainName", domain},
      {"AltDefaultUserName", user},  {"AltDefaultDomainName", domain},
  };
  std::vector<PlannedValue> planned;
  for (const auto& [name, text] : values) planned.push_back({kMachine, key + name, TextValue(text)});
  return planned;
}

std::optional<PlannedValue> IpxNetworkNumberValue(std::string_view boxText) {
  // Anything that is not a network number would be stored as some unrelated number; an empty
  // box stores 0.
  if (!IsHexNetworkNumber(boxText)) return std::nullopt;
  const auto number = static_cast<std::uint32_t>(IntegerValue(ConvertBase(boxText, 16, 10)));
  return PlannedValue{kMachine, kIpxNetworkNumber, NumberValue(number)};
}

std::string MachineIdentity::ReadComputerName() {
  return registry_.ReadRegistryText(kMachine, kComputerNamePath);
}

std::string MachineIdentity::ReadIpxNetworkNumber() {
  if (registry_.ReadRegistryText(kMachine, kIpxDisplayName).empty()) return std::string(kIpxNotInstalled);
  // The layer hands a DWORD back as a signed number; the network number is all 32 bits.
  const auto number = static_cast<std::uint32_t>(registry_.ReadRegistryNumber(kMachine, kIpxNetworkNumber));
  return ConvertBase(std::to_string(number), 10, 16);
}

bool MachineIdentity::WriteComputerName(std::string_view name) {
  bool all = true;
  for (const PlannedValue& value : ComputerNameValues(name)) all = registry_.Store(value) && all;
  return all;
}

bool MachineIdentity::WriteAutoLogon(std::string_view user, std::string_view password,
                                     std::string_view domain) {
  bool all = true;
  for (const PlannedValue& value : AutoLogonValues(user, password, domain)) {
    all = registry_.Store(value) && all;
  }
  return all;
}

bool MachineIdentity::WriteIpxNetworkNumber(std::string_view text) {
  if (text == kIpxNotInstalled) return true;  // a machine without IPX never gets a number
  const auto value = IpxNetworkNumberValue(text);
  return value && registry_.Store(*value);
}

}  // namespace netvane
