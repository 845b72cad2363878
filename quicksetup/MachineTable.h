#pragma once
// The machine table: the optional section of ipset.ini that gives each client its machine
// number by its network card's hardware address, so that nobody has to type it.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace netvane {

inline constexpr std::string_view kMachineTableSection = "机器表";

// A hardware address in the one spelling the table is matched in: upper case, '-' between bytes.
std::string NormalisedHardwareAddress(std::string_view address);

struct MachineTable {
  struct Row {
    std::string address;  // as written in the file
    std::string number;
  };
  std::vector<Row> rows;
  // The first two addresses (as written) that give one number, or one card two numbers.
  std::optional<std::pair<std::string, std::string>> clash;
};

// The table from the section's "address=number" lines; a line without both is passed over.
// Numbers are compared by value, so 019 and 19 are the same machine.
MachineTable ParseMachineTable(const std::vector<std::string>& lines);
// The number listed for `address`; nothing when it is not listed or the table has a clash.
std::optional<std::string> LookUpMachineNumber(const MachineTable& table, std::string_view address);

}  // namespace netvane
