#pragma once
// The window seam: the program's three windows and their controls, reached by window and
// control id. The Win32 implementation builds real common controls from the layout tables;
// the in-memory one keeps the same state for tests.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/Layout.h"

namespace netvane {

enum class EventKind {
  Created,          // the window and all its controls exist
  Click,            // a button, check box (after its tick changed) or image button
  SelectionChange,  // drop-down list or list box
  TextChange,       // edit box
  EnterKey,         // Enter pressed; `control` is the control that had the focus (0: none)
  PageChange,       // tab control: the operator picked another page
  Deactivated,      // the window lost activation
  CloseRequest,     // the close box or Alt+F4; in the two dialogs Esc as well
};

struct WindowEvent {
  EventKind kind;
  WindowId window;
  int control = 0;
};

enum class MessageIcon { Information, Exclamation };

using EventHandler = std::function<void(const WindowEvent&)>;

class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Windows. Opening creates the window afresh from its layout; a modal window returns only
  // once it has closed. The handler receives every event of that window.
  virtual void SetHandler(WindowId window, EventHandler handler) = 0;
  virtual void OpenModeless(WindowId window) = 0;
  virtual void OpenModal(WindowId window, WindowId owner) = 0;
  virtual void Close(WindowId window) = 0;
  virtual bool IsOpen(WindowId window) = 0;
  virtual void SetTitle(WindowId window, std::string_view title) = 0;
  virtual std::string Title(WindowId window) = 0;
  virtual void SetWindowSize(WindowId window, int width, int height) = 0;  // at 96 DPI
  virtual void Activate(WindowId window) = 0;
  virtual void ShowMessage(WindowId owner, std::string_view text, std::string_view title,
                           MessageIcon icon) = 0;
  // Ends the program at once with that exit code: the windows go and this call does not return.
  [[noreturn]] virtual void EndProgram(int exitCode) = 0;

  // Any control.
  virtual void SetText(ControlRef control, std::string_view text) = 0;
  virtual std::string Text(ControlRef control) = 0;
  virtual void SetEnabled(ControlRef control, bool enabled) = 0;
  virtual bool Enabled(ControlRef control) = 0;
  virtual void SetVisible(ControlRef control, bool visible) = 0;
  virtual bool Visible(ControlRef control) = 0;  // as set; a control on a hidden page still counts
  virtual void SetChecked(ControlRef control, bool checked) = 0;
  virtual bool Checked(ControlRef control) = 0;
  virtual void SetReadOnly(ControlRef control, bool readOnly) = 0;
  virtual bool ReadOnly(ControlRef control) = 0;
  virtual void SetTextColor(ControlRef control, Rgb color) = 0;
  virtual Rgb TextColor(ControlRef control) = 0;
  virtual void SetFocus(ControlRef control) = 0;
  virtual int Focused(WindowId window) = 0;  // the control id, 0 when none of its controls
  virtual void SetPosition(ControlRef control, int left, int top) = 0;  // in its container
  virtual Rect Bounds(ControlRef control) = 0;  // in the window's client area, scaled

  // Drop-down lists and list boxes; items count from 0, -1 is "no selection".
  virtual void ClearItems(ControlRef control) = 0;
  virtual void AddItem(ControlRef control, std::string_view text) = 0;
  virtual void SetItem(ControlRef control, int index, std::string_view text) = 0;
  virtual void RemoveItem(ControlRef control, int index) = 0;
  virtual int ItemCount(ControlRef control) = 0;
  virtual std::string Item(ControlRef control, int index) = 0;
  virtual void Select(ControlRef control, int index) = 0;
  virtual int Selection(ControlRef control) = 0;

  // Report list views; rows count from 0.
  virtual void ClearRows(ControlRef control) = 0;
  virtual void AddRow(ControlRef control, const std::vector<std::string>& cells) = 0;
  virtual void SetCell(ControlRef control, int row, int column, std::string_view text) = 0;
  virtual void RemoveRow(ControlRef control, int row) = 0;
  virtual int RowCount(ControlRef control) = 0;
  virtual std::string Cell(ControlRef control, int row, int column) = 0;
  virtual void SelectRow(ControlRef control, int row) = 0;
  virtual int SelectedRow(ControlRef control) = 0;

  // Tab controls.
  virtual void SelectPage(ControlRef control, int page) = 0;
  virtual int Page(ControlRef control) = 0;
};

// The text of an IP-address box: its four fields joined by "."; empty when all four are
// empty. Each field keeps at most three digits; anything else is dropped.
std::string IpAddressText(std::string_view text);

}  // namespace netvane
