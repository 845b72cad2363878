// devcon.exe: disables or enables the present devices whose hardware or compatible ids match
// the patterns on the command line, through the class installer as Device Manager does.
// Plain Win32 and C strings: every copy of netvane.exe carries this program.
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include "tools/devcon/DevconMatch.h"

namespace {

using netvane::devcon::AnyIdMatches;
using netvane::devcon::Arguments;
using netvane::devcon::Command;
using netvane::devcon::ParseError;

// {4D36E972-E325-11CE-BFC1-08002BE10318}: network adapters.
constexpr GUID kNetClassGuid = {
    0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
// More setup classes under one name than any Windows has.
constexpr DWORD kMaxClassGuids = 16;

constexpr char kUsage[] =
    "Usage: devcon disable <filter...>\r\n"
    "       devcon enable <filter...>\r\n"
    "A filter is a hardware id pattern (\"pci\\ven_10ec&dev_8139\", * matches any run of\r\n"
    "characters), or =<class> followed by one or more patterns (=net pci*).\r\n";

void Write(DWORD stream, const char* text) {
  HANDLE handle = GetStdHandle(stream);
  DWORD written = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
    WriteFile(handle, text, lstrlenA(text), &written, nullptr);
  }
}

void Print(const char* text) { Write(STD_OUTPUT_HANDLE, text); }

// Decimal digits without the C library's formatter, which would double the program's size.
void PrintDecimal(unsigned value) {
  char digits[16];
  char* start = digits + sizeof digits - 1;
  *start = '\0';
  do {
    *--start = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  Print(start);
}

// A multi-string device property in a heap block that ends in two NULs whatever the device
// stored; null when the property is absent. Free with HeapFree.
char* MultiStringProperty(HDEVINFO set, SP_DEVINFO_DATA* device, DWORD property, DWORD* size) {
  DWORD type = 0;
  *size = 0;
  SetupDiGetDeviceRegistryPropertyA(set, device, property, &type, nullptr, 0, size);
  if (*size == 0) return nullptr;
  char* buffer = static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, *size + 2));
  if (buffer == nullptr) return nullptr;
  if (!SetupDiGetDeviceRegistryPropertyA(set, device, property, &type,
                                         reinterpret_cast<BYTE*>(buffer), *size, nullptr) ||
      (type != REG_MULTI_SZ && type != REG_SZ)) {
    HeapFree(GetProcessHeap(), 0, buffer);
    return nullptr;
  }
  return buffer;
}

bool ChangeState(HDEVINFO set, SP_DEVINFO_DATA* device, Command command) {
  SP_PROPCHANGE_PARAMS params = {};
  params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
  params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
  params.StateChange = command == Command::kDisable ? DICS_DISABLE : DICS_ENABLE;
  params.Scope = DICS_FLAG_GLOBAL;
  params.HwProfile = 0;
  return SetupDiSetClassInstallParamsA(set, device, &params.ClassInstallHeader, sizeof params) &&
         SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, device);
}

struct Tally {
  unsigned matched = 0;
  unsigned changed = 0;
};

// Changes every present device of `set` that matches, one line each.
void ChangeMatching(HDEVINFO set, const Arguments& args, Tally* tally) {
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    DWORD hardwareSize = 0, compatibleSize = 0;
    char* hardware = MultiStringProperty(set, &device, SPDRP_HARDWAREID, &hardwareSize);
    char* compatible = MultiStringProperty(set, &device, SPDRP_COMPATIBLEIDS, &compatibleSize);
    const bool matches =
        (hardware && AnyIdMatches(args.patterns, args.patternCount, hardware, hardwareSize)) ||
        (compatible && AnyIdMatches(args.patterns, args.patternCount, compatible, compatibleSize));
    if (matches) {
      ++tally->matched;
      const bool ok = ChangeState(set, &device, args.command);
      if (ok) ++tally->changed;
      char instance[MAX_DEVICE_ID_LEN + 1] = "?";
      if (hardware == nullptr || hardware[0] == '\0') {
        if (!SetupDiGetDeviceInstanceIdA(set, &device, instance, sizeof instance, nullptr)) {
          lstrcpyA(instance, "?");
        }
      }
      Print(hardware != nullptr && hardware[0] != '\0' ? hardware : instance);
      Print(!ok ? ": Failed\r\n"
                : (args.command == Command::kDisable ? ": Disabled\r\n" : ": Enabled\r\n"));
    }
    if (hardware) HeapFree(GetProcessHeap(), 0, hardware);
    if (compatible) HeapFree(GetProcessHeap(), 0, compatible);
  }
}

void ChangeMatchingIn(const GUID* guid, DWORD flags, const Arguments& args, Tally* tally) {
  HDEVINFO set = SetupDiGetClassDevsA(guid, nullptr, nullptr, flags);
  if (set == INVALID_HANDLE_VALUE) return;
  ChangeMatching(set, args, tally);
  SetupDiDestroyDeviceInfoList(set);
}

int Run(const Arguments& args) {
  Tally tally;
  if (args.className != nullptr) {
    GUID guids[kMaxClassGuids];
    DWORD count = 0;
    if (lstrcmpiA(args.className, "net") == 0) {
      guids[0] = kNetClassGuid;
      count = 1;
    } else if (!SetupDiClassGuidsFromNameA(args.className, guids, kMaxClassGuids, &count) &&
               GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
      count = 0;
    }
    if (count > kMaxClassGuids) count = kMaxClassGuids;
    if (count == 0) {
      Write(STD_ERROR_HANDLE, "Unknown setup class '");
      Write(STD_ERROR_HANDLE, args.className);
      Write(STD_ERROR_HANDLE, "'.\r\n");
      return kExitUsage;
    }
    for (DWORD i = 0; i < count; ++i) ChangeMatchingIn(&guids[i], DIGCF_PRESENT, args, &tally);
  } else {
    ChangeMatchingIn(nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES, args, &tally);
  }
  if (tally.matched == 0) {
    Print("No matching devices found.\r\n");
    return kExitOk;
  }
  PrintDecimal(tally.changed);
  Print(args.command == Command::kDisable ? " device(s) disabled.\r\n"
                                          : " device(s) enabled.\r\n");
  return tally.changed == tally.matched ? kExitOk : kExitFailed;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  const ParseError error = netvane::devcon::ParseArguments(argc - 1, argv + 1, &args);
  if (error != ParseError::kNone) {
    if (error == ParseError::kUnknownCommand) {
      Write(STD_ERROR_HANDLE, "Unknown command '");
      Write(STD_ERROR_HANDLE, argv[1]);
      Write(STD_ERROR_HANDLE, "'.\r\n");
    } else {
      Write(STD_ERROR_HANDLE, netvane::devcon::ParseErrorText(error));
      Write(STD_ERROR_HANDLE, "\r\n");
    }
    Write(STD_ERROR_HANDLE, kUsage);
    return kExitUsage;
  }
  return Run(args);
}
