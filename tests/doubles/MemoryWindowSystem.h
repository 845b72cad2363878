#pragma once
// Windows in memory: every control's state, started from the layout tables, and helpers that
// act as the operator would (click, type, pick, press Enter) and deliver the same events.
#include <map>
#include <stdexcept>

#include "platform/WindowSystem.h"

namespace netvane::testing {

// Thrown by EndProgram so that a test sees the program end in the middle of an action.
struct ProgramEnded : std::runtime_error {
  ProgramEnded() : std::runtime_error("program ended") {}
};

class MemoryWindowSystem : public WindowSystem {
 public:
  explicit MemoryWindowSystem(LayoutSource layouts) : layouts_(layouts) {}
  struct Message {
    WindowId owner;
    std::string text, title;
    MessageIcon icon;
  };

  void SetHandler(WindowId window, EventHandler handler) override {
    handlers_[window] = std::move(handler);
  }
  void OpenModeless(WindowId window) override;
  void OpenModal(WindowId window, WindowId owner) override;
  void Close(WindowId window) override { windows_[window].open = false; }
  bool IsOpen(WindowId window) override { return windows_[window].open; }
  void SetTitle(WindowId window, std::string_view title) override {
    windows_[window].title = title;
  }
  std::string Title(WindowId window) override { return windows_[window].title; }
  void SetWindowSize(WindowId window, int width, int height) override {
    windows_[window].width = width, windows_[window].height = height;
  }
  void Activate(WindowId) override {}
  void ShowMessage(WindowId owner, std::string_view text, std::string_view title,
                   MessageIcon icon) override;
  [[noreturn]] void EndProgram(int exitCode) override;

  void SetText(ControlRef control, std::string_view text) override;
  std::string Text(ControlRef control) override { return At(control).text; }
  void SetEnabled(ControlRef control, bool enabled) override;
  bool Enabled(ControlRef control) override { return At(control).enabled; }
  void SetVisible(ControlRef control, bool visible) override;
  bool Visible(ControlRef control) override { return At(control).visible; }
  void SetChecked(ControlRef control, bool checked) override {
    At(control, {ControlKind::CheckBox}).checked = checked;
  }
  bool Checked(ControlRef control) override { return At(control, {ControlKind::CheckBox}).checked; }
  void SetReadOnly(ControlRef control, bool readOnly) override {
    At(control, {ControlKind::Edit, ControlKind::IpAddress}).readOnly = readOnly;
  }
  bool ReadOnly(ControlRef control) override { return At(control).readOnly; }
  void SetTextColor(ControlRef control, Rgb color) override { At(control).color = color; }
  Rgb TextColor(ControlRef control) override { return At(control).color; }
  void SetFocus(ControlRef control) override;
  int Focused(WindowId window) override;
  void SetPosition(ControlRef control, int left, int top) override {
    At(control).position = std::pair(left, top);
  }
  Rect Bounds(ControlRef control) override;

  void ClearItems(ControlRef control) override;
  void AddItem(ControlRef control, std::string_view text) override;
  void SetItem(ControlRef control, int index, std::string_view text) override;
  void RemoveItem(ControlRef control, int index) override { RemoveRow(control, index); }
  int ItemCount(ControlRef control) override { return RowCount(control); }
  std::string Item(ControlRef control, int index) override { return Cell(control, index, 0); }
  void Select(ControlRef control, int index) override;
  int Selection(ControlRef control) override { return At(control).selection; }

  void ClearRows(ControlRef control) override { ClearItems(control); }
  void AddRow(ControlRef control, const std::vector<std::string>& cells) override;
  void SetCell(ControlRef control, int row, int column, std::string_view text) override;
  void RemoveRow(ControlRef control, int row) override;
  int RowCount(ControlRef control) override { return static_cast<int>(At(control).rows.size()); }
  std::string Cell(ControlRef control, int row, int column) override;
  void SelectRow(ControlRef control, int row) override { Select(control, row); }
  int SelectedRow(ControlRef control) override { return At(control).selection; }

  void SelectPage(ControlRef control, int page) override;
  int Page(ControlRef control) override { return At(control, {ControlKind::TabControl}).page; }

  // The operator's side. Each refuses what the real control would not let happen: a click on a
  // disabled or hidden control, typing into a read-only box, letters into a number box.
  void Click(ControlRef control);
  void Type(ControlRef control, std::string_view text);  // appends, as keystrokes would
  void Pick(ControlRef control, int index);              // selection change by the operator
  void PickPage(ControlRef control, int page);           // page change by the operator
  void PressEnter(WindowId window) {  // in the focused control
    if (IsOpen(window)) Deliver(window, EventKind::EnterKey, Focused(window));
  }
  void RequestClose(WindowId window) {
    if (IsOpen(window)) Deliver(window, EventKind::CloseRequest);
  }
  void Deactivate(WindowId window) { if (IsOpen(window)) Deliver(window, EventKind::Deactivated); }
  bool Usable(ControlRef control);

  std::vector<Message> messages;
  std::optional<int> exitCode;  // once the program has ended
  // Called instead of returning when a modal window opens: a test may act in it and close it.
  std::function<void(WindowId)> onModal;

 private:
  struct Control {
    const ControlLayout* layout = nullptr;
    std::string text;
    bool enabled = true, visible = true, checked = false, readOnly = false;
    Rgb color;
    int selection = -1;
    int page = 0;
    std::optional<std::pair<int, int>> position;
    std::vector<std::vector<std::string>> rows;  // items are one-cell rows
  };
  struct Window {
    bool open = false;
    std::string title;
    int width = 0, height = 0;
    int focus = 0;
    bool focusToDefault = false;
    std::map<int, Control> controls;
  };
  Control& At(ControlRef control);
  Control& At(ControlRef control, std::initializer_list<ControlKind> kinds);
  void Deliver(WindowId window, EventKind kind, int control = 0);
  // Windows takes the focus from a control that is disabled or hidden.
  void DropFocusUnlessUsable(WindowId window);

  LayoutSource layouts_;
  std::map<WindowId, Window> windows_;
  std::map<WindowId, EventHandler> handlers_;
};

}  // namespace netvane::testing
