// The shipped executables load on Windows XP: they import nothing listed in post_xp_imports.txt
// and name a subsystem version that XP's loader accepts; each stays within 1 MiB. Each ring reads
// the executables of its own bitness, so IMAGE_NT_HEADERS has this process's layout.
#include <windows.h>
// dbghelp.h needs windows.h first.
#include <dbghelp.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "tests/e2e/E2eSupport.h"

namespace netvane::e2e {
namespace {

TEST(Imports, NothingNewerThanWindowsXp) {
  std::set<std::string> forbidden;  // "dll!function", the DLL name in lower case
  std::istringstream list(
      ReadWholeFile(PathFromEnvironment("NETVANE_E2E_DATA") + "\\post_xp_imports.txt")
          .value_or(""));
  for (std::string dll, function, rest; list >> dll >> function && std::getline(list, rest);) {
    if (dll[0] != '#') forbidden.insert(CharLowerA(dll.data()) + ("!" + function));
  }
  ASSERT_TRUE(forbidden.count("kernel32.dll!GetTickCount64")) << "post_xp_imports.txt unread";
  for (const char* variable : {"NETVANE_EXE", "NETVANE_DEVCON_EXE"}) {
    std::string image = ReadWholeFile(PathFromEnvironment(variable)).value_or("");
    EXPECT_LE(image.size(), 1u << 20) << variable << ": more than 1 MiB";
    IMAGE_NT_HEADERS* headers = ImageNtHeader(image.data());
    ASSERT_NE(headers, nullptr) << variable << " is no Windows executable";
    const bool wide = headers->FileHeader.Machine == IMAGE_FILE_MACHINE_AMD64;
    ASSERT_EQ(wide, sizeof(void*) == 8) << variable;
    const IMAGE_OPTIONAL_HEADER& optional = headers->OptionalHeader;
    // XP SP3 takes 5.01 at most, XP x64 and Server 2003 5.02.
    EXPECT_LE(optional.MajorSubsystemVersion * 100 + optional.MinorSubsystemVersion,
              wide ? 502 : 501)
        << variable;
    auto at = [&](ULONGLONG rva) {
      return static_cast<char*>(
          ImageRvaToVa(headers, image.data(), static_cast<ULONG>(rva), nullptr));
    };
    ULONG size = 0;
    auto* dll = static_cast<IMAGE_IMPORT_DESCRIPTOR*>(
        ImageDirectoryEntryToData(image.data(), FALSE, IMAGE_DIRECTORY_ENTRY_IMPORT, &size));
    int imports = 0;
    for (; dll && dll->Name; ++dll) {
      const std::string library = CharLowerA(at(dll->Name));
      auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(
          at(dll->OriginalFirstThunk ? dll->OriginalFirstThunk : dll->FirstThunk));
      for (; thunk && thunk->u1.AddressOfData; ++thunk, ++imports) {
        if (IMAGE_SNAP_BY_ORDINAL(thunk->u1.Ordinal)) continue;
        const std::string name =
            library + "!" +
            reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(at(thunk->u1.AddressOfData))->Name;
        EXPECT_EQ(forbidden.count(name), 0u) << variable << " imports " << name;
      }
    }
    EXPECT_GT(imports, 0) << variable;
  }
}

}  // namespace
}  // namespace netvane::e2e
