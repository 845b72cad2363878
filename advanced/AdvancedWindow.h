#pragma once
// AdvancedWindow: the modal "高级 TCP/IP 设置" window over the main window. It edits copies of
// the address, gateway and DNS lists and the interface metric in its own controls; only OK
// writes them back into the model, and Cancel discards everything.
#include <functional>
#include <string_view>

#include "adapters/Model.h"
#include "advanced/EntryDialog.h"
#include "config/Services.h"

namespace netvane {

inline constexpr std::string_view kAdvancedTitle = "Microsoft TCP/IP";

// The codes of ShowAdvancedMessage.
enum class AdvancedMessage { NoAddress = 1, BadMetric = 2, NothingSelected = 3 };

// Enables each list's Edit and Delete buttons while that list has at least one entry.
void UpdateEditDeleteButtons(WindowSystem& windows);
// Enables the DNS move buttons from the selected server's place in the list.
void UpdateMoveButtons(WindowSystem& windows);

class AdvancedWindow {
 public:
  // `collectMainWindowFields` gives the model with the main window's boxes folded in, which the
  // window shows; `showConfigInMainWindow` shows the model in the boxes again after OK.
  AdvancedWindow(SharedState& state, WindowSystem& windows, Shell& shell,
                 std::function<AdapterConfig()> collectMainWindowFields,
                 std::function<void()> showConfigInMainWindow);

  // Collects the main window's fields, then shows the window modally; returns once it closed.
  void Open();
  // The window's creation: empties the removed-entry memories and shows the collected model.
  void FillAdvancedWindow();
  // Follows the automatic-metric box: greys out and empties the metric, or offers it for typing.
  void UpdateInterfaceMetricControls();
  // Moves the selected DNS server one place up (-1) or down (+1), keeping it selected.
  void MoveDnsEntry(int direction);
  // True when the window may be confirmed: an address, and a metric of at least 1 unless
  // automatic. False after showing why not.
  bool ValidateAdvancedSettings();
  // One of the window's three messages, titled "Microsoft TCP/IP".
  void ShowAdvancedMessage(AdvancedMessage code);
  // Replaces the model's lists and metric by the window's and shows them in the main window.
  void WriteBackAdvancedSettings();

  EntryDialog& entryDialog() { return entry_; }

 private:
  void OnEvent(const WindowEvent& event);
  void OnClick(AdvancedControl control);
  void Add(int target);
  void Edit(int target);
  void Delete(int target);
  void Confirm();
  void Close();
  // The selected row of `target`'s list as an entry; false when nothing is selected.
  bool SelectedEntry(int target, ListEntry& entry);
  ListEntry& RemovedEntry(int target);
  bool Showing() const { return windows_.IsOpen(WindowId::Advanced); }

  SharedState& state_;
  WindowSystem& windows_;
  Shell& shell_;
  std::function<AdapterConfig()> collectMainWindowFields_;
  std::function<void()> showConfigInMainWindow_;
  EntryDialog entry_;
  AdapterConfig shown_;  // what the window was opened with; the model changes only on OK
};

}  // namespace netvane
