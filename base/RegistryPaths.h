#pragma once
// The registry key paths under HKEY_LOCAL_MACHINE that the program reads and writes.
namespace netvane {

// One subkey per adapter, named by four decimal digits. (One GUID letter is lower case here
// and upper case in the next path; registry look-ups ignore case.)
inline constexpr const char* kAdapterClassKey =
    "SYSTEM\\CurrentControlSet\\Control\\Class\\{4D36E972-E325-11CE-BFC1-08002bE10318}\\";
// One subkey per adapter instance id.
inline constexpr const char* kNetworkConnectionsKey =
    "SYSTEM\\CurrentControlSet\\Control\\Network\\{4D36E972-E325-11CE-BFC1-08002BE10318}\\";
// One subkey per adapter instance id.
inline constexpr const char* kTcpipInterfacesKey =
    "SYSTEM\\CurrentControlSet\\Services\\Tcpip\\Parameters\\Interfaces\\";
inline constexpr const char* kDeviceEnumKey = "SYSTEM\\CurrentControlSet\\Enum\\";

}  // namespace netvane
