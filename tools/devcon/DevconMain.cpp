// devcon.exe: disables or enables the present devices whose hardware or compatible ids match
// the patterns on the command line, through the class installer as Device Manager does.
#include <windows.h>
#include <cfgmgr32.h>
#include <setupapi.h>

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/devcon/DevconMatch.h"

namespace {

using netvane::devcon::Arguments;
using netvane::devcon::Command;

// {4D36E972-E325-11CE-BFC1-08002BE10318}: network adapters.
constexpr GUID kNetClassGuid = {
    0x4d36e972, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

constexpr std::string_view kUsage =
    "Usage: devcon disable <filter...>\r\n"
    "       devcon enable <filter...>\r\n"
    "A filter is a hardware id pattern (\"pci\\ven_10ec&dev_8139\", * matches any run of\r\n"
    "characters), or =<class> followed by one or more patterns (=net pci*).\r\n";

void Write(DWORD stream, std::string_view text) {
  HANDLE handle = GetStdHandle(stream);
  DWORD written = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
    WriteFile(handle, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

void Print(std::string_view text) { Write(STD_OUTPUT_HANDLE, text); }

// Decimal digits without the C library's formatter, which would double the program's size.
std::string Decimal(unsigned value) {
  char digits[16];
  char* end = digits + sizeof digits;
  char* start = end;
  do {
    *--start = static_cast<char>('0' + value % 10);
    value /= 10;
  } while (value != 0);
  return std::string(start, end);
}

// Owns a device information set.
class DeviceSet {
 public:
  explicit DeviceSet(HDEVINFO set) : set_(set) {}
  DeviceSet(const DeviceSet&) = delete;
  DeviceSet& operator=(const DeviceSet&) = delete;
  ~DeviceSet() {
    if (valid()) SetupDiDestroyDeviceInfoList(set_);
  }
  bool valid() const { return set_ != INVALID_HANDLE_VALUE; }
  HDEVINFO get() const { return set_; }

 private:
  HDEVINFO set_;
};

// The strings of a multi-string device property; none when it is absent.
std::vector<std::string> MultiStringProperty(HDEVINFO set, SP_DEVINFO_DATA& device,
                                             DWORD property) {
  DWORD type = 0, size = 0;
  SetupDiGetDeviceRegistryPropertyA(set, &device, property, &type, nullptr, 0, &size);
  if (size == 0) return {};
  std::vector<char> buffer(size);
  if (!SetupDiGetDeviceRegistryPropertyA(set, &device, property, &type,
                                         reinterpret_cast<BYTE*>(buffer.data()), size, &size) ||
      (type != REG_MULTI_SZ && type != REG_SZ)) {
    return {};
  }
  return netvane::devcon::SplitMultiString(buffer.data(), size);
}

std::string InstanceId(HDEVINFO set, SP_DEVINFO_DATA& device) {
  char id[MAX_DEVICE_ID_LEN + 1] = {};
  if (!SetupDiGetDeviceInstanceIdA(set, &device, id, sizeof id, nullptr)) return "?";
  return id;
}

bool ChangeState(HDEVINFO set, SP_DEVINFO_DATA& device, Command command) {
  SP_PROPCHANGE_PARAMS params = {};
  params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
  params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
  params.StateChange = command == Command::kDisable ? DICS_DISABLE : DICS_ENABLE;
  params.Scope = DICS_FLAG_GLOBAL;
  params.HwProfile = 0;
  return SetupDiSetClassInstallParamsA(set, &device, &params.ClassInstallHeader,
                                       sizeof params) &&
         SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, &device);
}

// The setup classes a "=name" filter stands for; empty when the name is unknown.
std::vector<GUID> ClassGuids(const std::string& name) {
  if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1, "net", -1) ==
      CSTR_EQUAL) {
    return {kNetClassGuid};
  }
  DWORD count = 0;
  SetupDiClassGuidsFromNameA(name.c_str(), nullptr, 0, &count);
  std::vector<GUID> guids(count);
  if (count == 0 || !SetupDiClassGuidsFromNameA(name.c_str(), guids.data(), count, &count)) {
    return {};
  }
  guids.resize(count);
  return guids;
}

struct Tally {
  unsigned matched = 0;
  unsigned changed = 0;
};

// Changes every present device of `set` that matches, one line each.
void ChangeMatching(HDEVINFO set, const Arguments& args, Tally& tally) {
  SP_DEVINFO_DATA device = {};
  device.cbSize = sizeof device;
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
    std::vector<std::string> ids = MultiStringProperty(set, device, SPDRP_HARDWAREID);
    std::string name = ids.empty() ? InstanceId(set, device) : ids.front();
    for (std::string& id : MultiStringProperty(set, device, SPDRP_COMPATIBLEIDS)) {
      ids.push_back(std::move(id));
    }
    if (!netvane::devcon::AnyIdMatches(args.patterns, ids)) continue;
    ++tally.matched;
    const bool ok = ChangeState(set, device, args.command);
    if (ok) ++tally.changed;
    name += !ok ? ": Failed\r\n"
                : (args.command == Command::kDisable ? ": Disabled\r\n" : ": Enabled\r\n");
    Print(name);
  }
}

int Run(const Arguments& args) {
  Tally tally;
  if (args.className) {
    const std::vector<GUID> guids = ClassGuids(*args.className);
    if (guids.empty()) {
      Write(STD_ERROR_HANDLE, "Unknown setup class '" + *args.className + "'.\r\n");
      return kExitUsage;
    }
    for (const GUID& guid : guids) {
      DeviceSet set(SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT));
      if (set.valid()) ChangeMatching(set.get(), args, tally);
    }
  } else {
    DeviceSet set(SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_PRESENT | DIGCF_ALLCLASSES));
    if (set.valid()) ChangeMatching(set.get(), args, tally);
  }
  if (tally.matched == 0) {
    Print("No matching devices found.\r\n");
    return kExitOk;
  }
  Print(Decimal(tally.changed) +
        (args.command == Command::kDisable ? " device(s) disabled.\r\n"
                                           : " device(s) enabled.\r\n"));
  return tally.changed == tally.matched ? kExitOk : kExitFailed;
}

}  // namespace

#if defined(__GLIBCXX__)
// libstdc++'s default terminate handler prints the exception's demangled type name and so
// links the whole demangler (about 70 KB). devcon has nothing to report there: just abort.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx
#endif

int main(int argc, char** argv) {
  std::vector<std::string> words(argv + 1, argv + argc);
  std::string error;
  const std::optional<Arguments> args = netvane::devcon::ParseArguments(words, &error);
  if (!args) {
    Write(STD_ERROR_HANDLE, error + "\r\n");
    Write(STD_ERROR_HANDLE, kUsage);
    return kExitUsage;
  }
  return Run(*args);
}
