#include "quicksetup/MachineTable.h"

#include "base/Text.h"

namespace netvane {
namespace {

// Leading zeros do not make another machine: "019" and "19" get the same address.
std::string NumberKey(std::string_view number) {
  if (number.find_first_not_of("0123456789") != std::string_view::npos) return std::string(number);
  const std::size_t first = number.find_first_not_of('0');
  return first == std::string_view::npos ? "0" : std::string(number.substr(first));
}

}  // namespace

std::string NormalisedHardwareAddress(std::string_view address) {
  std::string normal = TrimSpaces(address);
  for (char& c : normal) {
    if (c == ':') c = '-';
    else if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return normal;
}

MachineTable ParseMachineTable(const std::vector<std::string>& lines) {
  MachineTable table;
  for (const std::string& line : lines) {
    const std::size_t equals = line.find('=');
    // A card taken out of service is commented out; Windows may hand its line over all the same.
    if (equals == std::string::npos || TrimSpaces(line).starts_with(';')) continue;
    MachineTable::Row row{TrimSpaces(std::string_view(line).substr(0, equals)),
                          TrimSpaces(std::string_view(line).substr(equals + 1))};
    if (row.address.empty() || row.number.empty()) continue;
    for (const MachineTable::Row& earlier : table.rows) {
      const bool sameCard =
          NormalisedHardwareAddress(earlier.address) == NormalisedHardwareAddress(row.address);
      const bool sameNumber = NumberKey(earlier.number) == NumberKey(row.number);
      if (sameCard != sameNumber && !table.clash) table.clash.emplace(earlier.address, row.address);
    }
    table.rows.push_back(std::move(row));
  }
  return table;
}

std::optional<std::string> LookUpMachineNumber(const MachineTable& table,
                                               std::string_view address) {
  const std::string wanted = NormalisedHardwareAddress(address);
  if (table.clash) return std::nullopt;
  for (const MachineTable::Row& row : table.rows) {
    if (NormalisedHardwareAddress(row.address) == wanted) return row.number;
  }
  return std::nullopt;
}

}  // namespace netvane
