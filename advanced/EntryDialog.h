#pragma once
// EntryDialog: the small modeless dialog over AdvancedWindow with which the operator adds or
// modifies one IP address with its mask, one gateway with its metric or one DNS server. It
// checks the address and writes the entry straight into AdvancedWindow's list controls.
#include <optional>
#include <string>
#include <string_view>

#include "adapters/Model.h"
#include "config/Services.h"

namespace netvane {

// The lists the dialog serves (entryTarget); any other number is handled as the DNS list.
inline constexpr int kAddressTarget = 1;
inline constexpr int kGatewayTarget = 2;
inline constexpr int kDnsTarget = 3;
// entryMode: add a new entry at the end, or modify the selected one.
inline constexpr int kAddMode = 0;
inline constexpr int kModifyMode = 1;

// How an automatic gateway metric is shown in the lists and passed to the dialog.
inline constexpr std::string_view kAutomaticMetric = "自动";
inline constexpr std::string_view kEntryErrorTitle = "错误";

// The message that refuses `address` (and `mask`, when given), or an empty text when the entry
// may be written. Only the first fields are judged, but a box with any empty field is refused
// like an empty one: a half-typed "192.168.." must never reach the registry.
std::string AddressProblem(std::string_view address, const std::string* mask);

class EntryDialog {
 public:
  EntryDialog(SharedState& state, WindowSystem& windows, Shell& shell);

  // Opens the dialog for `target` in `mode`, starting from `initial`. When a dialog is already
  // open it only closes that one.
  void OpenEntryDialog(int target, int mode, const ListEntry& initial);
  // Arranges the dialog for `target`: title, size, buttons, visible boxes, values, focus.
  void SetUpEntryDialog(int target);
  // Follows the automatic-metric box: greys out and empties the metric, or offers it for typing.
  void UpdateMetricControls();
  // The confirm button is usable while the metric box holds text.
  void UpdateConfirmButton();
  // Checks the boxes and, when they pass, writes the entry into AdvancedWindow and closes.
  void ConfirmEntry();
  // True when the address (and mask) may be written; false after showing why not.
  bool ValidateAddress(EntryControl address, std::optional<EntryControl> mask);
  // Closes the dialog, if open; nothing is written.
  void Close();

 private:
  void OnEvent(const WindowEvent& event);
  // Writes the checked entry into `list` (rows of a list view or items of the DNS list box).
  void WriteRow(AdvancedControl list, const std::string& first, const std::string& second);
  bool Showing() { return windows_.IsOpen(WindowId::Entry); }

  SharedState& state_;
  WindowSystem& windows_;
  Shell& shell_;
  // Set while one of the dialog's own message boxes is up: the box takes the activation, and
  // the dialog must still be there, with the operator's input, when it is dismissed.
  bool showingMessage_ = false;
  int editedRow_ = -1;  // in the modify mode, the row or item the dialog was opened for
};

}  // namespace netvane
