#pragma once
// The machine-wide identity a cloned café client must get right: its computer name, its IPX
// virtual network number (shown and typed in hexadecimal, stored as a DWORD) and the
// Winlogon automatic logon.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/RegistryLayer.h"

namespace netvane {

// What 网络号框 shows when IPX is absent; the writers recognise that state by this very text.
inline constexpr std::string_view kIpxNotInstalled = "未安装IPX协议";

// Rewrites a number text from base `from` to base `to` (2 to 36, digits 0-9 then A-Z).
// Digits are read case-insensitively and are not checked against the base (G in base 16
// counts 16); a character outside the alphabet counts 0. The value is kept modulo 2^32, as
// the DWORD it ends up in, so an over-long text wraps instead of overflowing. Equal bases give
// the text back unchanged; any other base outside 2 to 36 gives an empty text.
std::string ConvertBase(std::string_view text, int from = 10, int to = 10);

// True for up to 8 hexadecimal digits: the only box texts that name an IPX network number (an
// empty box names 0).
bool IsHexNetworkNumber(std::string_view text);

// The values that store a computer name, in the order they are written.
std::vector<PlannedValue> ComputerNameValues(std::string_view name);
// The six Winlogon values of the automatic logon, in the order they are written.
std::vector<PlannedValue> AutoLogonValues(std::string_view user, std::string_view password,
                                          std::string_view domain);
// VirtualNetworkNumber for a box text of 1 to 8 hex digits; nothing for any other text.
std::optional<PlannedValue> IpxNetworkNumberValue(std::string_view boxText);

class MachineIdentity {
 public:
  explicit MachineIdentity(RegistryLayer& registry) : registry_(registry) {}

  // The name the machine takes at its next start; empty when none is stored.
  std::string ReadComputerName();
  // The stored IPX number in hexadecimal, or kIpxNotInstalled when IPX is absent.
  std::string ReadIpxNetworkNumber();
  // Stores the name, unchanged, wherever Windows and TCP/IP look for it; true when all took.
  bool WriteComputerName(std::string_view name);
  // Turns on the automatic logon with these credentials; true when all six values took.
  bool WriteAutoLogon(std::string_view user, std::string_view password, std::string_view domain);
  // Stores a hexadecimal number text. The not-installed marker stores nothing and counts as
  // done; any text other than 1 to 8 hex digits (an empty one too) stores nothing and fails.
  bool WriteIpxNetworkNumber(std::string_view text);

 private:
  RegistryLayer& registry_;
};

}  // namespace netvane
