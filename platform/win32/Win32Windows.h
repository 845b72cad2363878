#pragma once
// The window seam over real Win32 windows and common controls, built from the layout tables.
#include <windows.h>

#include <functional>
#include <map>
#include <memory>

#include "platform/WindowSystem.h"
#include "platform/win32/ScopedWin.h"

namespace netvane::win32 {

class Win32WindowSystem : public WindowSystem {
 public:
  // `dpi` scales every layout figure; 0 takes the screen's (or NETVANE_DPI when it is set).
  Win32WindowSystem(HINSTANCE instance, LayoutSource layouts, int dpi = 0);
  ~Win32WindowSystem() override;

  // Runs the message loop until the main window has gone; returns the exit code.
  int RunMessageLoop();
  // Dialog navigation and the Enter key, for the loop and for the input poll: true when the
  // message has been handled.
  bool PreTranslate(MSG& message);
  HWND Handle(WindowId window) const;
  HWND ControlHandle(ControlRef control) const;
  int dpi() const { return dpi_; }
  // Runs `action`; an exception it throws stops here and goes to onFault. Window procedures and
  // the loop's Enter and Esc run through this, and so may the program's own start.
  void Guarded(const std::function<void()>& action);
  // Called with the exception's text when one reaches Guarded. `actionEnded` is false when the
  // fault ended only a handler that an action's input poll had dispatched: that action goes
  // on, and its busy state with it.
  std::function<void(const char* what, bool actionEnded)> onFault;

  void SetHandler(WindowId window, EventHandler handler) override;
  void OpenModeless(WindowId window) override;
  void OpenModal(WindowId window, WindowId owner) override;
  void Close(WindowId window) override;
  bool IsOpen(WindowId window) override;
  void SetTitle(WindowId window, std::string_view title) override;
  std::string Title(WindowId window) override;
  void SetWindowSize(WindowId window, int width, int height) override;
  void Activate(WindowId window) override;
  void ShowMessage(WindowId owner, std::string_view text, std::string_view title,
                   MessageIcon icon) override;
  [[noreturn]] void EndProgram(int exitCode) override;

  void SetText(ControlRef control, std::string_view text) override;
  std::string Text(ControlRef control) override;
  void SetEnabled(ControlRef control, bool enabled) override;
  bool Enabled(ControlRef control) override;
  void SetVisible(ControlRef control, bool visible) override;
  bool Visible(ControlRef control) override;
  void SetChecked(ControlRef control, bool checked) override;
  bool Checked(ControlRef control) override;
  void SetReadOnly(ControlRef control, bool readOnly) override;
  bool ReadOnly(ControlRef control) override;
  void SetTextColor(ControlRef control, Rgb color) override;
  Rgb TextColor(ControlRef control) override;
  void SetFocus(ControlRef control) override;
  int Focused(WindowId window) override;
  void SetPosition(ControlRef control, int left, int top) override;
  Rect Bounds(ControlRef control) override;

  void ClearItems(ControlRef control) override;
  void AddItem(ControlRef control, std::string_view text) override;
  void SetItem(ControlRef control, int index, std::string_view text) override;
  void RemoveItem(ControlRef control, int index) override;
  int ItemCount(ControlRef control) override;
  std::string Item(ControlRef control, int index) override;
  void Select(ControlRef control, int index) override;
  int Selection(ControlRef control) override;

  void ClearRows(ControlRef control) override;
  void AddRow(ControlRef control, const std::vector<std::string>& cells) override;
  void SetCell(ControlRef control, int row, int column, std::string_view text) override;
  void RemoveRow(ControlRef control, int row) override;
  int RowCount(ControlRef control) override;
  std::string Cell(ControlRef control, int row, int column) override;
  void SelectRow(ControlRef control, int row) override;
  int SelectedRow(ControlRef control) override;

  void SelectPage(ControlRef control, int page) override;
  int Page(ControlRef control) override;

 private:
  struct Control {
    const ControlLayout* layout = nullptr;
    HWND hwnd = nullptr;
    bool visible = true;
    Rgb color;
    ScopedGdi<HBRUSH> backBrush;
    std::string linkText;
    int page = 0;  // tab controls without a header keep their page here
    std::vector<HWND> fields;  // an IP-address box's four field edits, left to right
  };
  struct Window {
    WindowId id;
    HWND hwnd = nullptr;
    bool ready = false;  // events flow once every control exists
    int savedFocus = 0;  // the focused control when the window was last deactivated
    HWND savedFocusPart = nullptr;  // the window that held it: an IP-address box's field
    bool focusToDefault = false;  // the focused control was disabled: the default button next
    std::map<int, Control> controls;
  };

  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(Window& window, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControl(Window& window, const ControlLayout& layout);
  void ShowPages(Window& window);
  // Shows or hides `control`, unless it already is (under Wine even a call that changes nothing
  // is a round trip to the server); true when that changed it.
  static bool Show(HWND control, bool show);
  // Gives the focus back to the remembered control, or to the default button, or the window.
  void RestoreFocus(Window& window);
  int DefaultButton(WindowId id);
  bool OnCurrentPage(Window& window, const ControlLayout& layout);
  Window* Find(WindowId id);
  Window* FindByHandle(HWND hwnd);
  Control& At(ControlRef control);
  Control* ControlOf(Window& window, HWND hwnd);
  void Deliver(WindowId window, EventKind kind, int control = 0);
  HFONT FontFor(FontKind kind);
  void DrawImageButton(const Control& control, const DRAWITEMSTRUCT& item);

  HINSTANCE instance_;
  LayoutSource layouts_;
  int dpi_;
  int guardDepth_ = 0;  // Guarded calls under way, one inside another through the input poll
  ScopedGdi<HFONT> standardFont_;
  ScopedGdi<HFONT> songFont_;
  ScopedGdi<HFONT> narrowFont_;
  ScopedGdi<HBITMAP> arrows_[2];
  std::map<WindowId, std::unique_ptr<Window>> windows_;
  std::map<WindowId, EventHandler> handlers_;
};

// A window's or control's text, whole.
std::string WindowText(HWND hwnd);

}  // namespace netvane::win32
