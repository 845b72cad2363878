// The shipped executables load on Windows XP: they import no function of post_xp_imports.txt
// and name a subsystem version that XP's loader accepts.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

constexpr std::uint16_t kMachineI386 = 0x14c;
constexpr std::uint16_t kMachineAmd64 = 0x8664;

struct PeFacts {
  std::uint16_t machine = 0;
  unsigned subsystemVersion = 0;       // major * 100 + minor: 501 is 5.01
  std::vector<std::string> imports;  // "dll!function", the DLL name in lower case
};

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// A little-endian field of the image; 0 past its end.
template <typename T>
T At(const std::string& image, std::size_t offset) {
  T value = 0;
  if (offset < image.size() && image.size() - offset >= sizeof value) {
    std::memcpy(&value, image.data() + offset, sizeof value);
  }
  return value;
}

std::string CString(const std::string& image, std::size_t offset) {
  return offset < image.size() ? std::string(image.c_str() + offset) : std::string();
}

// Reads the machine, the subsystem version and the functions imported by name.
PeFacts ReadPe(const std::string& image) {
  PeFacts facts;
  const std::size_t pe = At<std::uint32_t>(image, 0x3c);
  if (At<std::uint32_t>(image, pe) != 0x4550) return facts;  // "PE\0\0"
  const std::size_t coff = pe + 4, optional = coff + 20;
  facts.machine = At<std::uint16_t>(image, coff);
  const bool wide = At<std::uint16_t>(image, optional) == 0x20b;  // PE32+
  facts.subsystemVersion =
      At<std::uint16_t>(image, optional + 48) * 100 + At<std::uint16_t>(image, optional + 50);
  const std::size_t sections = optional + At<std::uint16_t>(image, coff + 16);
  // A relative virtual address as a file offset, through the section table; 0 when none holds it.
  auto offsetOf = [&](std::uint32_t rva) -> std::size_t {
    for (unsigned i = 0; i < At<std::uint16_t>(image, coff + 2); ++i) {
      const std::size_t section = sections + i * 40;
      const std::uint32_t start = At<std::uint32_t>(image, section + 12);
      const std::uint32_t size = At<std::uint32_t>(image, section + 16);
      if (rva >= start && rva - start < size) {
        return At<std::uint32_t>(image, section + 20) + (rva - start);
      }
    }
    return 0;
  };
  const std::uint32_t importTable = At<std::uint32_t>(image, optional + (wide ? 112 : 96) + 8);
  for (std::size_t entry = offsetOf(importTable); entry && At<std::uint32_t>(image, entry + 12);
       entry += 20) {
    const std::string dll = Lower(CString(image, offsetOf(At<std::uint32_t>(image, entry + 12))));
    std::uint32_t names = At<std::uint32_t>(image, entry);  // else the address table
    if (!names) names = At<std::uint32_t>(image, entry + 16);
    for (std::size_t thunk = offsetOf(names); thunk; thunk += wide ? 8 : 4) {
      const std::uint64_t value =
          wide ? At<std::uint64_t>(image, thunk) : At<std::uint32_t>(image, thunk);
      if (!value) break;
      if (value >> (wide ? 63 : 31)) continue;  // imported by ordinal
      facts.imports.push_back(dll + "!" +
                              CString(image, offsetOf(static_cast<std::uint32_t>(value)) + 2));
    }
  }
  return facts;
}

// post_xp_imports.txt as "dll!function" entries.
std::set<std::string> ForbiddenImports() {
  std::set<std::string> forbidden;
  std::istringstream lines(ReadWholeFile(PathFromEnvironment("NETVANE_E2E_DATA") +
                                         "\\post_xp_imports.txt")
                               .value_or(""));
  for (std::string line; std::getline(lines, line);) {
    std::istringstream fields(line);
    std::string dll, function;
    if (fields >> dll >> function && dll[0] != '#') forbidden.insert(Lower(dll) + "!" + function);
  }
  return forbidden;
}

TEST(Imports, NothingNewerThanWindowsXp) {
  const std::set<std::string> forbidden = ForbiddenImports();
  ASSERT_TRUE(forbidden.count("kernel32.dll!GetTickCount64")) << "post_xp_imports.txt unread";
  const std::uint16_t machine = sizeof(void*) == 8 ? kMachineAmd64 : kMachineI386;
  for (const char* variable : {"NETVANE_EXE", "NETVANE_DEVCON_EXE"}) {
    const std::string path = PathFromEnvironment(variable);
    const std::optional<std::string> image = ReadWholeFile(path);
    ASSERT_TRUE(image.has_value()) << variable << ": " << path;
    const PeFacts facts = ReadPe(*image);
    EXPECT_EQ(facts.machine, machine) << path;
    ASSERT_FALSE(facts.imports.empty()) << path;
    for (const std::string& function : facts.imports) {
      EXPECT_EQ(forbidden.count(function), 0u) << path << " imports " << function;
    }
    // XP SP3 loads 5.01 at most, XP x64 and Server 2003 5.02.
    EXPECT_LE(facts.subsystemVersion, machine == kMachineAmd64 ? 502u : 501u) << path;
  }
}

}  // namespace
}  // namespace netvane::e2e
