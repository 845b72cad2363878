#pragma once
// Applying what the main window shows to the selected adapter and the machine: the TCP/IP
// values, the computer name, the IPX number and the automatic logon, then the adapter restart
// and a refresh that shows what the registry now holds.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "adapters/AdapterDiscovery.h"
#include "adapters/Model.h"
#include "config/Services.h"
#include "config/MachineIdentity.h"

namespace netvane {

inline constexpr std::string_view kApplying = "正在修改……";
inline constexpr std::string_view kApplied = "修改完成……";
inline constexpr std::string_view kApplyFailed = "修改失败……";
inline constexpr std::string_view kUnchanged = "无需修改……";
inline constexpr std::string_view kErrorTitle = "错误";
// The browser start page the apply sets while 自动消块1 is ticked.
inline constexpr const char* kHomePageUrl = "http://www.netvane.net/";

// How an apply ended.
enum class ApplyResult {
  NotApplied,  // no adapter, or a check refused it: nothing was written
  Unchanged,   // the registry already held every value: nothing written, nothing restarted
  Applied,     // every changed value written (and the adapters restarted where needed)
  Failed,      // a write or a restart command failed
};

// A name Windows accepts as a computer name: 1 to 15 bytes, none of \/:*?"<>| or a space.
bool IsValidComputerName(std::string_view name);
// Four decimal fields of 1 to 3 digits, each 0 to 255, joined by dots.
bool IsDottedQuad(std::string_view text);
// True when the hardware id can stand between the double quotes of a command line: not empty
// (the device tool matches nothing by it, so the card's waited commands would wait for nothing),
// no quote, no percent sign (the interpreter would expand it) and no control character.
bool IsSafeDeviceId(std::string_view id);

// The adapter's TCP/IP values under its interfaces key `key`, in the order they are written:
// DHCP or the address lists, the gateways (removed when there are none), the interface metric
// and the DNS servers.
std::vector<PlannedValue> TcpipValues(const std::string& key, const AdapterConfig& config);

// The four command lines that restart the adapters, in the order they run.
struct RestartCommand {
  std::string commandLine;
  bool wait;
};
std::array<RestartCommand, 4> RestartCommands(std::string_view matchingDeviceId);

class AdapterApply {
 public:
  AdapterApply(SharedState& state, Services& services, Shell& shell, MachineIdentity& identity,
               AdapterDiscovery& discovery);

  // The modify action: applies what page 0 shows, or ends the busy state when no adapter.
  ApplyResult RunModify();
  // Checks, then writes the selected adapter's settings and the machine identity where the
  // registry differs, after saving the values it changes to the undo file; restarts the
  // adapters when a network value changed; reports, waits and refreshes. The caller has set
  // the busy state.
  ApplyResult ApplyAdapterSettings();
  // What the last apply (or modify action) came to.
  ApplyResult LastResult() const { return lastResult_; }
  // For start-up scripts: write only the values that differ, and restart the adapters only when
  // a network value changed, so that a run at every boot changes nothing twice. The operator's
  // 修改 always writes everything and restarts the adapters.
  void WriteOnlyChanges(bool only) { onlyChanges_ = only; }
  void ResetLastResult() { lastResult_ = ApplyResult::NotApplied; }
  // netvane-undo.reg beside the program.
  std::string UndoPath();
  // The model's configuration with the five address fields of page 0 folded into the first
  // entries of its lists. The model itself is left alone: an emptied field removes a first
  // entry, and folded into the model twice (a cancelled advanced window, then 修改) it would
  // remove the second one too.
  AdapterConfig CollectMainWindowFields() const;
  // Shows the first entries of the model's lists in the five address fields.
  void ShowConfigInMainWindow();
  // Returns after at least `milliseconds`, dispatching every pending message every 100 ms.
  void WaitResponsive(std::uint32_t milliseconds);

 private:
  // The operator's texts that the apply writes; a refusal names the field and its text.
  bool CheckBeforeWriting(std::string_view computerName, std::string_view ipxText,
                          const AdapterConfig& config);
  // Writes the undo file: `previous` alone when `fresh`, else added to what the file holds.
  bool SaveUndoFile(const std::string& path, std::vector<PlannedValue> previous, bool fresh);
  bool RestartAdapters(std::string_view matchingDeviceId);
  void Refuse(std::string_view message);
  ApplyResult Finish(ApplyResult result, std::string_view status);

  SharedState& state_;
  Services& services_;
  Shell& shell_;
  MachineIdentity& identity_;
  AdapterDiscovery& discovery_;
  bool onlyChanges_ = false;
  ApplyResult lastResult_ = ApplyResult::NotApplied;
};

}  // namespace netvane
