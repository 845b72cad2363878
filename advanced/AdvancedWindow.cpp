#include "advanced/AdvancedWindow.h"

#include "base/Text.h"

namespace netvane {
namespace {

using A = AdvancedControl;

struct ListControls {
  A list, add, edit, remove;
};

const ListControls& ControlsOf(int target) {
  static const ListControls addresses{A::超级列表框1, A::添加按钮1, A::编辑按钮1, A::删除按钮1};
  static const ListControls gateways{A::超级列表框2, A::添加按钮2, A::编辑按钮2, A::删除按钮2};
  static const ListControls dns{A::DNS列表框, A::添加按钮3, A::编辑按钮3, A::删除按钮3};
  if (target == kAddressTarget) return addresses;
  if (target == kGatewayTarget) return gateways;
  return dns;
}

int EntryCount(WindowSystem& windows, int target) {
  const A list = ControlsOf(target).list;
  return target == kDnsTarget ? windows.ItemCount(list) : windows.RowCount(list);
}

// A gateway metric as the list shows it: "自动" for anything that reads as 0.
std::string ShownMetric(const std::string& metric) {
  return IntegerValue(metric) == 0 ? std::string(kAutomaticMetric) : metric;
}

// A gateway metric as the model keeps it: "0" for automatic.
std::string StoredMetric(const std::string& shown) {
  return shown == kAutomaticMetric || shown.empty() || shown == "0" ? std::string("0") : shown;
}

}  // namespace

void UpdateEditDeleteButtons(WindowSystem& windows) {
  for (int target : {kAddressTarget, kGatewayTarget, kDnsTarget}) {
    const bool any = EntryCount(windows, target) > 0;
    windows.SetEnabled(ControlsOf(target).edit, any);
    windows.SetEnabled(ControlsOf(target).remove, any);
  }
}

void UpdateMoveButtons(WindowSystem& windows) {
  const int count = windows.ItemCount(A::DNS列表框);
  const int selected = windows.Selection(A::DNS列表框);
  const bool some = count > 0 && selected >= 0 && selected < count;
  windows.SetEnabled(A::向上按钮, some && selected > 0);
  windows.SetEnabled(A::向下按钮, some && selected < count - 1);
}

AdvancedWindow::AdvancedWindow(SharedState& state, WindowSystem& windows, Shell& shell,
                               std::function<AdapterConfig()> collectMainWindowFields,
                               std::function<void()> showConfigInMainWindow)
    : state_(state),
      windows_(windows),
      shell_(shell),
      collectMainWindowFields_(std::move(collectMainWindowFields)),
      showConfigInMainWindow_(std::move(showConfigInMainWindow)),
      entry_(state, windows, shell) {}

void AdvancedWindow::Open() {
  if (Showing()) return;  // already showing: a second modal loop inside the first helps no one
  shown_ = collectMainWindowFields_ ? collectMainWindowFields_() : state_.config;
  windows_.SetHandler(WindowId::Advanced, [this](const WindowEvent& event) { OnEvent(event); });
  windows_.OpenModal(WindowId::Advanced, WindowId::Main);
}

void AdvancedWindow::FillAdvancedWindow() {
  state_.removedAddressEntry = {};
  state_.removedGatewayEntry = {};
  state_.removedDnsEntry = {};
  const AdapterConfig& config = shown_;
  // 确定 waits for the whole fill: taken in a poll, it would write back half-filled lists.
  // Input taken in a poll may close the window: then there is nothing left to fill.
  windows_.SetEnabled(A::确定按钮, false);
  windows_.ClearRows(A::超级列表框1);
  for (const ListEntry& entry : config.addressList) {
    windows_.AddRow(A::超级列表框1, {entry.primary, entry.secondary});
  }
  shell_.PollInput();
  if (!Showing()) return;
  windows_.ClearRows(A::超级列表框2);
  for (const ListEntry& entry : config.gatewayList) {
    windows_.AddRow(A::超级列表框2, {entry.primary, ShownMetric(entry.secondary)});
  }
  shell_.PollInput();
  if (!Showing()) return;
  windows_.ClearItems(A::DNS列表框);
  for (const std::string& server : config.dnsList) windows_.AddItem(A::DNS列表框, server);
  shell_.PollInput();
  if (!Showing()) return;
  if (config.interfaceMetric.empty()) {
    windows_.SetChecked(A::跃点选择框, true);
    UpdateInterfaceMetricControls();
  } else {
    windows_.SetChecked(A::跃点选择框, false);
    windows_.SetText(A::跃点框, config.interfaceMetric);
  }
  shell_.PollInput();
  if (!Showing()) return;
  UpdateEditDeleteButtons(windows_);
  windows_.SetEnabled(A::确定按钮, true);
}

void AdvancedWindow::UpdateInterfaceMetricControls() {
  const bool automatic = windows_.Checked(A::跃点选择框);
  if (automatic) windows_.SetText(A::跃点框, "");
  windows_.SetTextColor(A::跃点标签, automatic ? kGrey : kBlack);
  windows_.SetEnabled(A::跃点标签, !automatic);
  windows_.SetEnabled(A::跃点框, !automatic);
  if (!automatic) windows_.SetFocus(A::跃点框);
}

void AdvancedWindow::MoveDnsEntry(int direction) {
  entry_.Close();  // see Delete
  const int selected = windows_.Selection(A::DNS列表框);
  const int other = selected + direction;
  if (selected >= 0 && other >= 0 && other < windows_.ItemCount(A::DNS列表框)) {
    const std::string moving = windows_.Item(A::DNS列表框, selected);
    windows_.SetItem(A::DNS列表框, selected, windows_.Item(A::DNS列表框, other));
    windows_.SetItem(A::DNS列表框, other, moving);
    windows_.Select(A::DNS列表框, other);
  }
  UpdateMoveButtons(windows_);
}

bool AdvancedWindow::ValidateAdvancedSettings() {
  if (windows_.RowCount(A::超级列表框1) == 0) {
    ShowAdvancedMessage(AdvancedMessage::NoAddress);
    return false;
  }
  if (!windows_.Checked(A::跃点选择框) && IntegerValue(windows_.Text(A::跃点框)) < 1) {
    ShowAdvancedMessage(AdvancedMessage::BadMetric);
    return false;
  }
  return true;
}

void AdvancedWindow::ShowAdvancedMessage(AdvancedMessage code) {
  const char* text = "尚未选择一个项目。请先选一个。";
  if (code == AdvancedMessage::NoAddress) text = "适配器需要至少一个 IP 地址，请输入一个。";
  if (code == AdvancedMessage::BadMetric) text = "请输入在 1 和 9999 之间的跃点数。";
  if (code != AdvancedMessage::NothingSelected) windows_.SelectPage(A::功能选择夹, 0);
  windows_.ShowMessage(WindowId::Advanced, text, kAdvancedTitle, MessageIcon::Exclamation);
  if (code == AdvancedMessage::BadMetric && Showing()) windows_.SetFocus(A::跃点框);
}

void AdvancedWindow::WriteBackAdvancedSettings() {
  AdapterConfig& config = state_.config;
  config.interfaceMetric = windows_.Text(A::跃点框);
  config.addressList.Clear();
  for (int row = 0; row < windows_.RowCount(A::超级列表框1); ++row) {
    config.addressList.Append(
        {windows_.Cell(A::超级列表框1, row, 0), windows_.Cell(A::超级列表框1, row, 1)});
  }
  config.gatewayList.Clear();
  for (int row = 0; row < windows_.RowCount(A::超级列表框2); ++row) {
    config.gatewayList.Append({windows_.Cell(A::超级列表框2, row, 0),
                               StoredMetric(windows_.Cell(A::超级列表框2, row, 1))});
  }
  config.dnsList.Clear();
  for (int item = 0; item < windows_.ItemCount(A::DNS列表框); ++item) {
    config.dnsList.Append(windows_.Item(A::DNS列表框, item));
  }
  if (showConfigInMainWindow_) showConfigInMainWindow_();
}

void AdvancedWindow::OnEvent(const WindowEvent& event) {
  switch (event.kind) {
    case EventKind::Created:
      FillAdvancedWindow();
      break;
    case EventKind::Click:
      OnClick(static_cast<A>(event.control));
      break;
    case EventKind::SelectionChange:
      if (event.control == static_cast<int>(A::DNS列表框)) UpdateMoveButtons(windows_);
      break;
    case EventKind::PageChange:
      // Page "DNS " is only for a valid IP page; a refusal has already put page 0 back.
      if (windows_.Page(A::功能选择夹) == 1 && ValidateAdvancedSettings()) {
        UpdateMoveButtons(windows_);
      }
      break;
    case EventKind::EnterKey:
      // Enter presses the focused button, as in a dialog; elsewhere it does nothing.
      if (event.control != 0 && event.control != static_cast<int>(A::跃点选择框) &&
          windows_.Enabled(ControlRef(WindowId::Advanced, event.control))) {
        OnClick(static_cast<A>(event.control));
      }
      break;
    case EventKind::CloseRequest:  // the close box, or Esc: as Cancel
      Close();
      break;
    default:
      break;
  }
}

void AdvancedWindow::OnClick(AdvancedControl control) {
  switch (control) {
    case A::添加按钮1: Add(kAddressTarget); break;
    case A::添加按钮2: Add(kGatewayTarget); break;
    case A::添加按钮3: Add(kDnsTarget); break;
    case A::编辑按钮1: Edit(kAddressTarget); break;
    case A::编辑按钮2: Edit(kGatewayTarget); break;
    case A::编辑按钮3: Edit(kDnsTarget); break;
    case A::删除按钮1: Delete(kAddressTarget); break;
    case A::删除按钮2: Delete(kGatewayTarget); break;
    case A::删除按钮3: Delete(kDnsTarget); break;
    case A::向上按钮: MoveDnsEntry(-1); break;
    case A::向下按钮: MoveDnsEntry(+1); break;
    case A::跃点选择框: UpdateInterfaceMetricControls(); break;
    case A::确定按钮: Confirm(); break;
    case A::取消按钮: Close(); break;
    default: break;
  }
}

ListEntry& AdvancedWindow::RemovedEntry(int target) {
  if (target == kAddressTarget) return state_.removedAddressEntry;
  if (target == kGatewayTarget) return state_.removedGatewayEntry;
  return state_.removedDnsEntry;
}

bool AdvancedWindow::SelectedEntry(int target, ListEntry& entry) {
  const A list = ControlsOf(target).list;
  if (target == kDnsTarget) {
    const int item = windows_.Selection(list);
    if (item < 0) return false;
    entry = {windows_.Item(list, item), ""};
    return true;
  }
  const int row = windows_.SelectedRow(list);
  if (row < 0) return false;
  entry = {windows_.Cell(list, row, 0), windows_.Cell(list, row, 1)};
  return true;
}

void AdvancedWindow::Add(int target) {
  entry_.OpenEntryDialog(target, kAddMode, RemovedEntry(target));
}

void AdvancedWindow::Edit(int target) {
  ListEntry selected;
  if (!SelectedEntry(target, selected)) {
    ShowAdvancedMessage(AdvancedMessage::NothingSelected);
    return;
  }
  RemovedEntry(target) = {};
  entry_.OpenEntryDialog(target, kModifyMode, selected);
}

void AdvancedWindow::Delete(int target) {
  // An entry dialog still open here (its refusal box kept it from closing when this window was
  // clicked) edits a row by its number: once rows move, that number names another entry.
  entry_.Close();
  ListEntry selected;
  if (!SelectedEntry(target, selected)) {
    ShowAdvancedMessage(AdvancedMessage::NothingSelected);
    return;
  }
  RemovedEntry(target) = selected;
  const A list = ControlsOf(target).list;
  if (target == kDnsTarget) {
    windows_.RemoveItem(list, windows_.Selection(list));
  } else {
    windows_.RemoveRow(list, windows_.SelectedRow(list));
  }
  UpdateEditDeleteButtons(windows_);  // the move buttons keep their state until next evaluated
}

void AdvancedWindow::Confirm() {
  if (!ValidateAdvancedSettings()) return;
  WriteBackAdvancedSettings();
  Close();
}

void AdvancedWindow::Close() {
  entry_.Close();
  if (Showing()) windows_.Close(WindowId::Advanced);
}

}  // namespace netvane
