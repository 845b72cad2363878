#pragma once
// The café quick setup: the settings of page 1 kept in ipset.ini beside the program, and the
// apply by machine number that derives a cloned client's name, address and IPX number.
#include <optional>
#include <string>
#include <string_view>

#include "adapters/Model.h"
#include "config/Services.h"
#include "apply/AdapterApply.h"
#include "quicksetup/MachineTable.h"

namespace netvane {

inline constexpr std::string_view kSettingsSection = "配置";
inline constexpr std::string_view kTicked = "真";
inline constexpr std::string_view kUnticked = "假";
// The defaults of a first run: the café's provider's DNS servers.
inline constexpr std::string_view kDefaultPreferredDns = "202.96.128.86";
inline constexpr std::string_view kDefaultAlternateDns = "202.96.134.133";

// The host number for a machine number as typed: decimal, leading zeros ignored, plus 10 when
// asked. Nothing for a text that is not all digits or too long to be any machine's number.
std::optional<unsigned> HostNumber(std::string_view machineNumber, bool addTen);
// `value` as written into ipset.ini: quoted where the profile read would trim or unquote it.
std::string ProfileText(const std::string& value);

// What the machine table had for this PC at start-up.
enum class TableLookup { NoTable, Clash, NotListed, Filled };

class QuickSetup {
 public:
  QuickSetup(SharedState& state, Services& services, Shell& shell, AdapterApply& apply);

  // Fills page 1 from ipset.ini and arms the café action, or shows the defaults unarmed.
  void LoadQuickSetup();
  // After the start-up enumeration: fills 机器数框 with the selected adapter's number from the
  // machine table, or names the two clashing addresses in a message box and fills nothing.
  TableLookup FillFromMachineTable();
  // Writes page 1 to ipset.ini, says whether that worked and goes back to page 0.
  void SaveQuickSetup();
  // Derives page 0 from page 1 and the machine number, checks it, then applies it.
  void FillFromMachineNumber();
  // ipset.ini in the program's directory.
  std::string SettingsPath();

 private:
  void Refuse(std::string_view message, std::string_view text);

  SharedState& state_;
  Services& services_;
  Shell& shell_;
  AdapterApply& apply_;
  MachineTable table_;  // as loaded at start-up
};

}  // namespace netvane
