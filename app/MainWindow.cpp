#include "app/MainWindow.h"

#include "app/Layout.h"

namespace netvane {

using C = MainControl;

MainWindow::MainWindow(SharedState& state, Services& services, std::string devconImage)
    : state_(state),
      services_(services),
      windows_(services.windows),
      devconImage_(std::move(devconImage)) {}

void MainWindow::Open() {
  windows_.SetHandler(WindowId::Main, [this](const WindowEvent& event) { OnEvent(event); });
  windows_.OpenModeless(WindowId::Main);
}

void MainWindow::OnMainWindowCreated() {
  // Start-up writes nothing for the current user: the browser start page is written by the
  // apply, and only while 自动消块1 is ticked.
  Initialise();
}

void MainWindow::Initialise() {
  SetBusy(true);  // no action may start inside the first scan; its end enables them
  Run(actions_.loadQuickSetup);
  PollInput();
  const std::string devcon = DevconPath();
  // A tool of zero bytes counts as absent, and an empty image is never written: either would
  // leave a tool that the write-if-absent rule never repairs. Without a system directory there
  // is no place for it: "\devcon.exe" would land in the root of the current drive.
  if (!devcon.empty() && !devconImage_.empty() && services_.files.FileSize(devcon).value_or(0) == 0) {
    services_.files.WriteWholeFile(devcon, devconImage_);  // a failure is not reported
    PollInput();
  }
  Run(actions_.enumerateAdapters);
}

std::string MainWindow::DevconPath() {
  std::string path = services_.files.SystemDirectory();
  if (path.empty()) return {};
  if (path.back() != '\\') path.push_back('\\');
  return path + "devcon.exe";
}

void MainWindow::RefreshAdapters() {
  SetBusy(true);
  PollInput();
  windows_.SelectPage(C::功能选择夹, 0);
  Run(actions_.enumerateAdapters);
}

void MainWindow::RunCafeAction() {
  if (windows_.Page(C::功能选择夹) == 0) {
    windows_.SelectPage(C::功能选择夹, 1);
    if (state_.quickSetupLoaded) windows_.SetFocus(C::机器数框);
    return;
  }
  if (state_.quickSetupLoaded && !windows_.Text(C::机器数框).empty() &&
      actions_.fillFromMachineNumber) {
    SetBusy(true);
    actions_.fillFromMachineNumber();
    return;
  }
  windows_.SelectPage(C::功能选择夹, 0);
}

// A pick holds the action buttons while it shows the adapter: 高级 let in by its polls would
// edit the lists of the adapter shown before, and the rest of the pick would then drop the edit.
// Inside an action that holds them already, the pick leaves them to that action.
void MainWindow::ShowPickedAdapter() {
  const bool hold = windows_.Enabled(C::高级按钮);
  if (hold) SetBusy(true);
  Run(actions_.showSelectedAdapter);
  if (hold) SetBusy(false);
}

void MainWindow::PollInput() {
  if (services_.input.InputWaiting()) services_.input.DispatchPending();
}

void MainWindow::SetBusy(bool busy) {
  for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) {
    windows_.SetEnabled(button, !busy);
  }
}

void MainWindow::HoldExit(bool hold) {
  exitHeld_ = hold;
  if (!hold && exitWaiting_) End();
}

void MainWindow::End() {
  if (exitHeld_) {
    exitWaiting_ = true;
    return;
  }
  windows_.EndProgram(actions_.ending ? actions_.ending() : 0);
}

void MainWindow::OnEvent(const WindowEvent& event) {
  switch (event.kind) {
    case EventKind::Created:
      OnMainWindowCreated();
      break;
    case EventKind::Click:
      OnClick(static_cast<C>(event.control));
      break;
    case EventKind::SelectionChange:
      if (event.control == static_cast<int>(C::网卡选择框)) ShowPickedAdapter();
      break;
    case EventKind::EnterKey:
      OnEnter(event.control);
      break;
    case EventKind::CloseRequest:
      End();
    default:
      break;
  }
}

void MainWindow::OnClick(MainControl control) {
  switch (control) {
    case C::刷新按钮: RefreshAdapters(); break;
    case C::修改按钮: Run(actions_.runModify); break;
    case C::网吧按钮: RunCafeAction(); break;
    case C::保存按钮: Run(actions_.saveQuickSetup); break;
    case C::高级按钮: Run(actions_.openAdvanced); break;
    case C::退出按钮: End();
    default: break;
  }
}

// Enter in 机器数框 runs the café action once; on a push button it presses that button;
// anywhere else it presses the default button 网吧按钮. Nothing happens while the action
// buttons are busy: an Enter typed into the number box during an apply must not start a second
// apply inside the first.
void MainWindow::OnEnter(int focused) {
  if (focused == static_cast<int>(C::机器数框)) {
    if (windows_.Enabled(C::网吧按钮)) RunCafeAction();
    return;
  }
  const ControlLayout* control = FindControl(LayoutOf(WindowId::Main), focused);
  const C target = control && control->kind == ControlKind::Button ? static_cast<C>(focused)
                                                                   : C::网吧按钮;
  if (windows_.Enabled(target)) OnClick(target);
}

}  // namespace netvane
