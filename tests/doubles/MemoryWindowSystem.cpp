#include "tests/doubles/MemoryWindowSystem.h"

#include <algorithm>

namespace netvane::testing {

MemoryWindowSystem::Control& MemoryWindowSystem::At(ControlRef control) {
  Window& window = windows_[control.window];
  const auto found = window.controls.find(control.id);
  if (!window.open || found == window.controls.end()) {
    throw std::logic_error("no such control open: " + std::to_string(control.id));
  }
  return found->second;
}

// As the real control would not understand the message: a tick for a box that has none, items
// for what holds no list.
MemoryWindowSystem::Control& MemoryWindowSystem::At(ControlRef control, std::initializer_list<ControlKind> kinds) {
  Control& c = At(control);
  if (std::find(kinds.begin(), kinds.end(), c.layout->kind) == kinds.end()) {
    throw std::logic_error(std::string("wrong kind of control for this: ") + c.layout->name);
  }
  return c;
}

void MemoryWindowSystem::Deliver(WindowId window, EventKind kind, int control) {
  const auto handler = handlers_.find(window);
  if (handler != handlers_.end() && handler->second) {
    const EventHandler copy = handler->second;  // the handler may replace itself
    copy(WindowEvent{kind, window, control});
  }
}

void MemoryWindowSystem::DropFocusUnlessUsable(WindowId window) {
  Window& w = windows_[window];
  if (w.focus != 0 && !Usable(ControlRef(window, w.focus))) w.focus = 0;
}

// As the Win32 windows do: a disabled focused control hands the focus to the default button,
// or to nothing until that button is enabled again; with no such button, to the next control
// that Tab would reach.
void MemoryWindowSystem::SetEnabled(ControlRef control, bool enabled) {
  Window& w = windows_[control.window];
  const bool hadFocus = !enabled && w.focus == control.id;
  At(control).enabled = enabled;
  DropFocusUnlessUsable(control.window);
  int defaultButton = 0;
  const WindowLayout& layout = layouts_(control.window);
  for (const ControlLayout& row : layout.controls) {
    if (row.flags & flag::kDefaultButton) defaultButton = row.id;
  }
  const auto& order = layout.tabOrder;
  const auto at = std::find(order.begin(), order.end(), control.id);
  for (std::size_t i = 1; hadFocus && !defaultButton && at != order.end() && i < order.size(); ++i) {
    const int next = order[(at - order.begin() + i) % order.size()];
    if (Usable(ControlRef(control.window, next))) return void(w.focus = next);
  }
  if (hadFocus) w.focusToDefault = true;
  if (w.focusToDefault && w.focus == 0 && defaultButton &&
      Usable(ControlRef(control.window, defaultButton))) {
    w.focus = defaultButton;
    w.focusToDefault = false;
  }
}

void MemoryWindowSystem::SetVisible(ControlRef control, bool visible) {
  At(control).visible = visible;
  DropFocusUnlessUsable(control.window);
}

void MemoryWindowSystem::SelectPage(ControlRef control, int page) {
  At(control, {ControlKind::TabControl}).page = page;
  DropFocusUnlessUsable(control.window);
}

void MemoryWindowSystem::OpenModeless(WindowId id) {
  const WindowLayout& layout = layouts_(id);
  Window window;
  window.open = true;
  window.title = layout.caption;
  window.width = layout.width;
  window.height = layout.height;
  for (const ControlLayout& row : layout.controls) {
    Control control;
    control.layout = &row;
    control.text = row.kind == ControlKind::IpAddress ? IpAddressText(row.caption) : row.caption;
    control.visible = !(row.flags & flag::kHidden);
    control.checked = (row.flags & flag::kChecked) != 0;
    control.readOnly = (row.flags & flag::kReadOnly) != 0;
    control.color = row.textColor.value_or(kBlack);
    window.controls[row.id] = control;
  }
  window.focus = layout.tabOrder.empty() ? 0 : layout.tabOrder.front();
  windows_[id] = std::move(window);
  Deliver(id, EventKind::Created);
}

void MemoryWindowSystem::OpenModal(WindowId window, WindowId) {
  OpenModeless(window);
  if (onModal) onModal(window);
}

void MemoryWindowSystem::ShowMessage(WindowId owner, std::string_view text,
                                     std::string_view title, MessageIcon icon) {
  messages.push_back(Message{owner, std::string(text), std::string(title), icon});
  Deactivate(owner);  // the box takes the activation from its owner
}

void MemoryWindowSystem::EndProgram(int code) {
  exitCode = code;
  for (auto& [id, window] : windows_) window.open = false;
  throw ProgramEnded();
}

void MemoryWindowSystem::SetText(ControlRef control, std::string_view text) {
  Control& c = At(control);
  c.text = c.layout->kind == ControlKind::IpAddress ? IpAddressText(text) : std::string(text);
  if (c.layout->flags & flag::kIntegerOnly) std::erase_if(c.text, [](char ch) { return ch < '0' || ch > '9'; });
  if (c.layout->kind == ControlKind::Edit) {  // even for the same text, as an edit box reports
    Deliver(control.window, EventKind::TextChange, control.id);
  }
}

void MemoryWindowSystem::SetFocus(ControlRef control) {
  At(control);
  windows_[control.window].focus = control.id;
}

int MemoryWindowSystem::Focused(WindowId window) {
  return windows_[window].open ? windows_[window].focus : 0;
}

Rect MemoryWindowSystem::Bounds(ControlRef control) {
  Control& c = At(control);
  ControlLayout moved = *c.layout;
  if (c.position) {
    moved.bounds.left = c.position->first;
    moved.bounds.top = c.position->second;
  }
  return PlaceControl(layouts_(control.window), moved, 96);
}

void MemoryWindowSystem::ClearItems(ControlRef control) {
  Control& c = At(control);
  c.rows.clear();
  c.selection = -1;
}

void MemoryWindowSystem::AddItem(ControlRef control, std::string_view text) {
  At(control, {ControlKind::DropDownList, ControlKind::ListBox}).rows.push_back({std::string(text)});
}

void MemoryWindowSystem::SetItem(ControlRef control, int index, std::string_view text) {
  Control& c = At(control);
  if (index >= 0 && index < static_cast<int>(c.rows.size())) c.rows[index] = {std::string(text)};
}

void MemoryWindowSystem::Select(ControlRef control, int index) {
  Control& c = At(control);
  c.selection = index >= 0 && index < static_cast<int>(c.rows.size()) ? index : -1;
}

void MemoryWindowSystem::AddRow(ControlRef control, const std::vector<std::string>& cells) {
  At(control, {ControlKind::ListView}).rows.push_back(cells);
}

void MemoryWindowSystem::SetCell(ControlRef control, int row, int column, std::string_view text) {
  Control& c = At(control);
  if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0) return;
  if (c.rows[row].size() <= static_cast<std::size_t>(column)) c.rows[row].resize(column + 1);
  c.rows[row][column] = text;
}

void MemoryWindowSystem::RemoveRow(ControlRef control, int row) {
  Control& c = At(control);
  if (row < 0 || row >= static_cast<int>(c.rows.size())) return;
  c.rows.erase(c.rows.begin() + row);
  if (c.selection == row) c.selection = -1;
  else if (c.selection > row) --c.selection;
}

std::string MemoryWindowSystem::Cell(ControlRef control, int row, int column) {
  Control& c = At(control);
  if (row < 0 || row >= static_cast<int>(c.rows.size()) || column < 0 ||
      column >= static_cast<int>(c.rows[row].size())) {
    return {};
  }
  return c.rows[row][column];
}

bool MemoryWindowSystem::Usable(ControlRef control) {
  if (!IsOpen(control.window)) return false;
  Control& c = At(control);
  if (!c.enabled || !c.visible) return false;
  // A control on a page that is not showing cannot be reached either.
  const WindowLayout& layout = layouts_(control.window);
  if (const auto page = PageOf(layout, *c.layout)) {
    if (Page(ControlRef(control.window, page->first)) != page->second) return false;
  }
  return true;
}

void MemoryWindowSystem::Click(ControlRef control) {
  if (!Usable(control)) return;
  Control& c = At(control);
  if (c.layout->kind == ControlKind::CheckBox) c.checked = !c.checked;
  windows_[control.window].focus = control.id;
  Deliver(control.window, EventKind::Click, control.id);
}

void MemoryWindowSystem::Type(ControlRef control, std::string_view text) {
  if (!Usable(control)) return;
  Control& c = At(control);
  if (c.readOnly) return;
  windows_[control.window].focus = control.id;
  for (char ch : text) {
    if ((c.layout->flags & flag::kIntegerOnly) && (ch < '0' || ch > '9')) continue;
    if (c.layout->maxLength > 0 && static_cast<int>(c.text.size()) >= c.layout->maxLength) break;
    SetText(control, c.text + ch);
  }
}

void MemoryWindowSystem::Pick(ControlRef control, int index) {
  if (!Usable(control)) return;
  Select(control, index);
  Deliver(control.window, EventKind::SelectionChange, control.id);
}

void MemoryWindowSystem::PickPage(ControlRef control, int page) {
  if (!Usable(control)) return;
  SelectPage(control, page);
  Deliver(control.window, EventKind::PageChange, control.id);
}

}  // namespace netvane::testing
