#include "advanced/EntryDialog.h"

#include <vector>

#include "advanced/AdvancedWindow.h"
#include "base/Text.h"

namespace netvane {
namespace {

using E = EntryControl;

struct TargetSetUp {
  const char* title;
  int width, height;
  int confirmLeft, confirmTop, cancelLeft, cancelTop;
  std::vector<E> shown;
  E focus;
};

const TargetSetUp& SetUpFor(int target) {
  static const TargetSetUp address{"TCP/IP 地址", 210, 145, 35, 80, 110, 80,
                                   {E::地址标签, E::地址框, E::掩码标签, E::掩码框}, E::地址框};
  static const TargetSetUp gateway{
      "TCP/IP 网关地址", 200, 165, 35, 100, 110, 100,
      {E::网关标签, E::网关框, E::跃点分组框, E::自动框, E::跃点标签, E::跃点框}, E::网关框};
  static const TargetSetUp dns{"TCP/IP DNS 服务器", 245, 110, 35, 45, 140, 45,
                               {E::DNS标签, E::DNS框}, E::DNS框};
  if (target == kAddressTarget) return address;
  if (target == kGatewayTarget) return gateway;
  return dns;
}

// An address box's dotted text with a field left empty, or no text at all. The window seam
// reads an all-empty box as an empty text; a box read elsewhere as "..." is caught here too.
bool Incomplete(std::string_view text) {
  if (text.empty()) return true;
  int fields = 1;
  char previous = '.';
  for (char c : text) {
    if (c == '.') {
      if (previous == '.') return true;
      ++fields;
    }
    previous = c;
  }
  return previous == '.' || fields != 4;
}

std::string FirstField(std::string_view text) {
  const std::vector<std::string> parts = SplitText(text, ".", 4);
  return parts.empty() ? std::string() : parts.front();
}

bool IsAutomatic(std::string_view metric) {
  return metric == kAutomaticMetric || metric == "0" || metric.empty();
}

}  // namespace

std::string AddressProblem(std::string_view address, const std::string* mask) {
  if (Incomplete(address)) return "地址错误，不能继续。";
  const std::string first = FirstField(address);
  if (first == "127") {
    return "以 127 起头的 IP 地址无效，因为他们保留用作环回地址。"
           "请在 1 和 223 之间指定一些其他有效值。";
  }
  const std::int64_t value = IntegerValue(first);
  if (value == 0 || value > 223) {
    return first + " 不是一个有效项目。请指定一个介于 1 和 223 之间的数值";
  }
  if (!mask) return {};
  if (Incomplete(*mask)) return "掩码地址错误，不能继续。";
  if (IntegerValue(FirstField(*mask)) == 0) {
    return " 0 不是一个有效项目。请指定一个介于 1 和 255 之间的数值";
  }
  return {};
}

EntryDialog::EntryDialog(SharedState& state, WindowSystem& windows, Shell& shell)
    : state_(state), windows_(windows), shell_(shell) {}

void EntryDialog::OpenEntryDialog(int target, int mode, const ListEntry& initial) {
  if (Showing()) {
    Close();
    return;
  }
  state_.entryTarget = target;
  state_.entryMode = mode;
  // The edit goes to the row selected now: one picked while a refusal is up must not take it.
  const AdvancedControl list = target == kAddressTarget   ? AdvancedControl::超级列表框1
                               : target == kGatewayTarget ? AdvancedControl::超级列表框2
                                                          : AdvancedControl::DNS列表框;
  editedRow_ = target == kDnsTarget ? windows_.Selection(list) : windows_.SelectedRow(list);
  // Both set-ups, the creation's and this one, show the entry edited: an Enter taken by the
  // creation's poll must not confirm the previous dialog's entry into this row.
  state_.entryValue = initial;
  windows_.SetHandler(WindowId::Entry, [this](const WindowEvent& event) { OnEvent(event); });
  windows_.OpenModeless(WindowId::Entry);
  if (Showing()) SetUpEntryDialog(state_.entryTarget);
}

void EntryDialog::SetUpEntryDialog(int target) {
  if (state_.entryMode == kModifyMode) windows_.SetText(E::添加按钮, "修改");
  const TargetSetUp& row = SetUpFor(target);
  windows_.SetTitle(WindowId::Entry, row.title);
  windows_.SetWindowSize(WindowId::Entry, row.width, row.height);
  windows_.SetPosition(E::添加按钮, row.confirmLeft, row.confirmTop);
  windows_.SetPosition(E::取消按钮, row.cancelLeft, row.cancelTop);
  for (E control : row.shown) windows_.SetVisible(control, true);
  shell_.PollInput();
  if (!Showing()) return;  // the input taken meanwhile closed it

  const ListEntry& value = state_.entryValue;
  if (target == kAddressTarget) {
    windows_.SetText(E::地址框, value.primary);
    windows_.SetText(E::掩码框, value.secondary);
  } else if (target == kGatewayTarget) {
    windows_.SetText(E::网关框, value.primary);
    const bool automatic = IsAutomatic(value.secondary);
    windows_.SetChecked(E::自动框, automatic);
    if (!automatic) windows_.SetText(E::跃点框, value.secondary);
    UpdateMetricControls();
  } else {
    windows_.SetText(E::DNS框, value.primary);
  }
  windows_.SetFocus(row.focus);
}

void EntryDialog::UpdateMetricControls() {
  if (windows_.Checked(E::自动框)) {
    windows_.SetText(E::跃点框, "");  // its change disables the confirm button ...
    windows_.SetTextColor(E::跃点标签, kGrey);
    windows_.SetEnabled(E::添加按钮, true);  // ... and this wins: automatic needs no number
    windows_.SetEnabled(E::跃点标签, false);
    windows_.SetEnabled(E::跃点框, false);
    return;
  }
  windows_.SetTextColor(E::跃点标签, kBlack);
  windows_.SetEnabled(E::跃点标签, true);
  windows_.SetEnabled(E::跃点框, true);
  UpdateConfirmButton();
  windows_.SetFocus(E::跃点框);
}

void EntryDialog::UpdateConfirmButton() {
  windows_.SetEnabled(E::添加按钮, !windows_.Text(E::跃点框).empty());
}

void EntryDialog::ConfirmEntry() {
  const int target = state_.entryTarget;
  if (target == kAddressTarget) {
    if (!ValidateAddress(E::地址框, E::掩码框)) return;
    WriteRow(AdvancedControl::超级列表框1, windows_.Text(E::地址框), windows_.Text(E::掩码框));
  } else if (target == kGatewayTarget) {
    if (!ValidateAddress(E::网关框, std::nullopt)) return;
    const std::string metric = windows_.Checked(E::自动框) ? std::string(kAutomaticMetric)
                                                          : windows_.Text(E::跃点框);
    WriteRow(AdvancedControl::超级列表框2, windows_.Text(E::网关框), metric);
  } else {
    if (!ValidateAddress(E::DNS框, std::nullopt)) return;
    WriteRow(AdvancedControl::DNS列表框, windows_.Text(E::DNS框), "");
    UpdateMoveButtons(windows_);
  }
  UpdateEditDeleteButtons(windows_);
  Close();
  windows_.Activate(WindowId::Advanced);
}

void EntryDialog::WriteRow(AdvancedControl list, const std::string& first,
                           const std::string& second) {
  const bool modify = state_.entryMode == kModifyMode;
  if (list == AdvancedControl::DNS列表框) {
    if (modify) {
      windows_.SetItem(list, editedRow_, first);
    } else {
      windows_.AddItem(list, first);
    }
    return;
  }
  if (modify) {
    windows_.SetCell(list, editedRow_, 0, first);
    windows_.SetCell(list, editedRow_, 1, second);
  } else {
    windows_.AddRow(list, {first, second});
  }
}

bool EntryDialog::ValidateAddress(EntryControl address, std::optional<EntryControl> mask) {
  const std::string maskText = mask ? windows_.Text(*mask) : std::string();
  const std::string problem = AddressProblem(windows_.Text(address), mask ? &maskText : nullptr);
  if (problem.empty()) return true;
  showingMessage_ = true;
  windows_.ShowMessage(WindowId::Entry, problem, kEntryErrorTitle, MessageIcon::Exclamation);
  showingMessage_ = false;
  return false;
}

void EntryDialog::Close() {
  if (Showing()) windows_.Close(WindowId::Entry);
}

void EntryDialog::OnEvent(const WindowEvent& event) {
  const auto control = static_cast<E>(event.control);
  switch (event.kind) {
    case EventKind::Created:
      SetUpEntryDialog(state_.entryTarget);
      break;
    case EventKind::Click:
      if (control == E::添加按钮) ConfirmEntry();
      if (control == E::取消按钮) Close();
      if (control == E::自动框) UpdateMetricControls();
      break;
    case EventKind::TextChange:
      if (control == E::跃点框) UpdateConfirmButton();
      break;
    case EventKind::EnterKey:
      // Enter presses the focused button, or else confirms, as a dialog's default button does.
      if (control == E::取消按钮) {
        Close();
      } else if (windows_.Enabled(E::添加按钮)) {
        ConfirmEntry();
      }
      break;
    case EventKind::Deactivated:
      if (showingMessage_) break;  // its own message box: it stays, with the input
      Close();
      windows_.Activate(WindowId::Advanced);
      break;
    case EventKind::CloseRequest:  // the close box, or Esc
      Close();
      break;
    default:
      break;
  }
}

}  // namespace netvane
