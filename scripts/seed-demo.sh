#!/usr/bin/env bash
# Seeds the demo prefix's registry with what a Windows PC with two Ethernet adapters holds.
set -euo pipefail
dir="$1"
mkdir -p "$dir"
reg="$dir/demo.reg"
classkey='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Class\{4D36E972-E325-11CE-BFC1-08002bE10318}'
netkey='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\Network\{4D36E972-E325-11CE-BFC1-08002BE10318}'
tcpip='HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Tcpip\Parameters\Interfaces'
cat >"$reg" <<REG
Windows Registry Editor Version 5.00

[$classkey\\0000]
"DriverDesc"="Realtek RTL8139 Family PCI Fast Ethernet NIC"
"NetCfgInstanceId"="{6B1F2B4A-1A2B-4C3D-8E9F-001122334455}"
"MatchingDeviceId"="pci\\\\ven_10ec&dev_8139"

[$classkey\\0000\\Linkage]
"UpperBind"=hex(7):54,00,63,00,70,00,69,00,70,00,00,00,00,00

[$classkey\\0000\\Ndi\\Interfaces]
"LowerRange"="ethernet"

[$netkey\\{6B1F2B4A-1A2B-4C3D-8E9F-001122334455}\\Connection]
"Name"="Local Area Connection"
"PnpInstanceID"="PCI\\\\VEN_10EC&DEV_8139\\\\3&61AAA01&0&48"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Enum\PCI\VEN_10EC&DEV_8139\3&61AAA01&0&48\Control]
"ActiveService"="rtl8139"

[$tcpip\\{6B1F2B4A-1A2B-4C3D-8E9F-001122334455}]
"EnableDHCP"=dword:00000000
"IPAddress"=hex(7):31,00,39,00,32,00,2e,00,31,00,36,00,38,00,2e,00,31,00,36,00,2e,00,35,00,00,00,00,00
"SubnetMask"=hex(7):32,00,35,00,35,00,2e,00,32,00,35,00,35,00,2e,00,32,00,35,00,35,00,2e,00,30,00,00,00,00,00
"DefaultGateway"=hex(7):31,00,39,00,32,00,2e,00,31,00,36,00,38,00,2e,00,31,00,36,00,2e,00,32,00,35,00,34,00,00,00,00,00
"DefaultGatewayMetric"=hex(7):30,00,00,00,00,00
"NameServer"="202.96.128.86,202.96.134.133"

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Control\ComputerName\ComputerName]
"ComputerName"="USER019"

[HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Control\ComputerName\ComputerName]
"ComputerName"="USER019"

[HKEY_LOCAL_MACHINE\SYSTEM\ControlSet001\Services\Tcpip\Parameters]
"NV Hostname"="USER019"

[HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\Windows NT\CurrentVersion\Winlogon]
"AutoAdminLogon"="0"
REG
# reg.exe reads hex(7) data as UTF-16 only from a UTF-16 file.
{ printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$reg"; } >"$dir/demo-utf16.reg"
# /reg:64: the 64-bit program reads SOFTWARE\ (Winlogon) in the 64-bit view, not Wow6432Node.
wine reg import "$dir/demo-utf16.reg" /reg:64 >/dev/null 2>&1
