// Windows and events: creation from the layout tables, the window procedure, modal loops.
#include "platform/win32/Win32Windows.h"

#include <commctrl.h>
#include <shellapi.h>

#include <algorithm>
#include <exception>
#include <cstdlib>

#include "resources/resource.h"

namespace netvane::win32 {
namespace {

constexpr char kWindowClass[] = "NetvaneWindow";

int ScreenDpi() {
  if (const char* forced = std::getenv("NETVANE_DPI")) {
    const int dpi = std::atoi(forced);
    if (dpi >= 48 && dpi <= 480) return dpi;
  }
  WindowDc screen(nullptr);
  const int dpi = GetDeviceCaps(screen.get(), LOGPIXELSY);
  return dpi > 0 ? dpi : 96;
}

COLORREF ToColorRef(Rgb rgb) { return RGB(rgb.r, rgb.g, rgb.b); }

// Sets the box's text again without what is no digit, the caret at its end; false when it held
// digits only.
bool KeepDigitsOnly(HWND box) {
  std::string text = WindowText(box);
  const auto removed = std::erase_if(text, [](char c) { return c < '0' || c > '9'; });
  if (removed == 0) return false;
  SetWindowTextA(box, text.c_str());
  SendMessageA(box, EM_SETSEL, text.size(), text.size());
  return true;
}

}  // namespace

Win32WindowSystem::Win32WindowSystem(HINSTANCE instance, LayoutSource layouts, int dpi)
    : instance_(instance), layouts_(layouts), dpi_(dpi > 0 ? dpi : ScreenDpi()) {
  INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES |
                                                        ICC_INTERNET_CLASSES | ICC_LINK_CLASS |
                                                        ICC_TAB_CLASSES | ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&controls);
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance_;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kWindowClass;
  windowClass.hIcon = LoadIconA(instance_, MAKEINTRESOURCEA(IDI_NETVANE));
  windowClass.hIconSm = static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(IDI_NETVANE), IMAGE_ICON, 16, 16, 0));
  RegisterClassExA(&windowClass);

  NONCLIENTMETRICSA metrics = {};
  metrics.cbSize = sizeof metrics;
  SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  metrics.lfMessageFont.lfHeight = -ScaleForDpi(12, dpi_);
  standardFont_ = ScopedGdi<HFONT>(CreateFontIndirectA(&metrics.lfMessageFont));
  songFont_ = ScopedGdi<HFONT>(CreateFontA(-ScaleForDpi(12, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                          GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                          DEFAULT_PITCH | FF_DONTCARE, "宋体"));
  // 9 pixels: an IP-address field of a 100-pixel box is 17 pixels wide, and its edit refuses a
  // third digit that does not fit, so "192" could not be typed at 10.
  narrowFont_ = ScopedGdi<HFONT>(CreateFontA(-ScaleForDpi(9, dpi_), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                           ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Tahoma"));
  arrows_[0] = ScopedGdi<HBITMAP>(LoadBitmapA(instance_, MAKEINTRESOURCEA(IDB_ARROW_UP)));
  arrows_[1] = ScopedGdi<HBITMAP>(LoadBitmapA(instance_, MAKEINTRESOURCEA(IDB_ARROW_DOWN)));
}

Win32WindowSystem::~Win32WindowSystem() {
  // The handlers may already be gone: no event flows while the windows are destroyed.
  auto windows = std::move(windows_);
  windows_.clear();
  for (auto& [id, window] : windows) {
    if (window->hwnd) DestroyWindow(window->hwnd);
  }
}

int Win32WindowSystem::RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

bool Win32WindowSystem::PreTranslate(MSG& message) {
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  Window* window = root ? FindByHandle(root) : nullptr;
  if (!window) return false;
  const WindowId id = window->id;
  if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE && id != WindowId::Main) {
    Guarded([&] { Deliver(id, EventKind::CloseRequest); });  // Esc cancels, as in every dialog
    return true;
  }
  if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
    // A control that wants Enter for itself (an opened drop-down list choosing its item, a
    // multi-line box) gets it; otherwise the behaviour decides from the focused control.
    const LRESULT wants = SendMessageA(message.hwnd, WM_GETDLGCODE, VK_RETURN,
                                       reinterpret_cast<LPARAM>(&message));
    if (wants & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS)) return false;
    Guarded([&] { Deliver(id, EventKind::EnterKey, Focused(id)); });
    return true;
  }
  if (message.message == WM_CHAR && message.wParam == '\r') {
    const LRESULT wants = SendMessageA(message.hwnd, WM_GETDLGCODE, '\r',
                                       reinterpret_cast<LPARAM>(&message));
    return !(wants & (DLGC_WANTMESSAGE | DLGC_WANTALLKEYS));
  }
  return IsDialogMessageA(root, &message) != FALSE;
}

HWND Win32WindowSystem::Handle(WindowId id) const {
  const auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : found->second->hwnd;
}

HWND Win32WindowSystem::ControlHandle(ControlRef control) const {
  const auto found = windows_.find(control.window);
  if (found == windows_.end()) return nullptr;
  const auto at = found->second->controls.find(control.id);
  return at == found->second->controls.end() ? nullptr : at->second.hwnd;
}

Win32WindowSystem::Window* Win32WindowSystem::Find(WindowId id) {
  const auto found = windows_.find(id);
  return found == windows_.end() ? nullptr : found->second.get();
}

Win32WindowSystem::Window* Win32WindowSystem::FindByHandle(HWND hwnd) {
  for (auto& [id, window] : windows_) {
    if (window->hwnd == hwnd) return window.get();
  }
  return nullptr;
}

Win32WindowSystem::Control* Win32WindowSystem::ControlOf(Window& window, HWND hwnd) {
  // A click or the focus may sit in a part of a control: an IP-address field, a combo's edit.
  for (HWND at = hwnd; at && at != window.hwnd; at = GetParent(at)) {
    for (auto& [id, control] : window.controls) {
      if (control.hwnd == at) return &control;
    }
  }
  return nullptr;
}

void Win32WindowSystem::Deliver(WindowId id, EventKind kind, int control) {
  Window* window = Find(id);
  if (!window || !window->ready) return;
  const auto handler = handlers_.find(id);
  if (handler != handlers_.end() && handler->second) {
    const EventHandler copy = handler->second;  // the handler may replace itself
    copy(WindowEvent{kind, id, control});
  }
}

void Win32WindowSystem::SetHandler(WindowId window, EventHandler handler) {
  handlers_[window] = std::move(handler);
}

HFONT Win32WindowSystem::FontFor(FontKind kind) {
  if (kind == FontKind::Song9 && songFont_) return songFont_.get();
  if (kind == FontKind::Narrow && narrowFont_) return narrowFont_.get();
  return standardFont_.get();
}

void Win32WindowSystem::OpenModeless(WindowId id) {
  if (Window* open = Find(id)) Close(open->id);
  const WindowLayout& layout = layouts_(id);
  auto window = std::make_unique<Window>();
  window->id = id;
  Window& w = *window;
  windows_[id] = std::move(window);

  HWND owner = nullptr;
  DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;
  DWORD exStyle = 0;
  if (id == WindowId::Main) {
    style |= WS_MINIMIZEBOX;
  } else {
    owner = Handle(id == WindowId::Entry ? WindowId::Advanced : WindowId::Main);
    exStyle = WS_EX_DLGMODALFRAME;
  }
  const int width = ScaleForDpi(layout.width, dpi_);
  const int height = ScaleForDpi(layout.height, dpi_);
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  const int left = work.left + std::max(0, (int(work.right - work.left) - width) / 2);
  const int top = work.top + std::max(0, (int(work.bottom - work.top) - height) / 2);
  // The window finds its system through its user data and itself by its handle: nothing is
  // allocated for it, so a creation that fails half-way leaves nothing to free twice.
  w.hwnd = CreateWindowExA(exStyle, kWindowClass, layout.caption.c_str(), style, left, top, width,
                           height, owner, nullptr, instance_, this);
  if (!w.hwnd) {
    windows_.erase(id);
    return;
  }
  // Tab order is creation order; labels, then frames, then the tab controls go last, beneath
  // the rest in the stacking order.
  for (int tabStop : layout.tabOrder) {
    const ControlLayout& row = *FindControl(layout, tabStop);
    if (row.kind != ControlKind::TabControl) CreateControl(w, row);
  }
  for (ControlKind last : {ControlKind::Label, ControlKind::GroupBox, ControlKind::TabControl}) {
    for (const ControlLayout& row : layout.controls) {
      const bool container = row.kind == ControlKind::GroupBox || row.kind == ControlKind::TabControl;
      const bool now = last == ControlKind::Label ? !container : row.kind == last;
      if (now && !w.controls.count(row.id)) CreateControl(w, row);
    }
  }
  ShowPages(w);
  if (id == WindowId::Main) {
    // The main window's creation handler runs the start-up scan: the window is shown once that
    // has filled it, and so is painted once, whole. The focus then goes where that scan's end
    // would have put it: the default button.
    const HWND hwnd = w.hwnd;
    w.ready = true;
    Deliver(id, EventKind::Created);
    Window* created = Find(id);
    if (!created || created->hwnd != hwnd) return;  // the handler closed it
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    RestoreFocus(*created);
    return;
  }
  ShowWindow(w.hwnd, SW_SHOW);
  UpdateWindow(w.hwnd);
  // A control that could not be created has no record to make up: nothing gets the focus then.
  if (HWND first = layout.tabOrder.empty() ? nullptr : ControlHandle(ControlRef(id, layout.tabOrder.front()))) {
    ::SetFocus(first);
  }
  w.ready = true;
  Deliver(id, EventKind::Created);
}

void Win32WindowSystem::OpenModal(WindowId id, WindowId ownerId) {
  HWND owner = Handle(ownerId);
  // The owner is disabled first, so that nothing in it can start a second opening while the
  // window's creation handler runs.
  if (owner) EnableWindow(owner, FALSE);
  OpenModeless(id);
  if (!Find(id)) {
    if (owner) EnableWindow(owner, TRUE);
    return;
  }
  MSG message;
  bool quit = false;
  while (Find(id)) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got <= 0) {
      quit = true;
      break;
    }
    if (PreTranslate(message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  if (owner && IsWindow(owner)) {
    EnableWindow(owner, TRUE);
    SetActiveWindow(owner);
  }
  if (quit) PostQuitMessage(static_cast<int>(message.wParam));
}

void Win32WindowSystem::Close(WindowId id) {
  Window* window = Find(id);
  if (!window) return;
  HWND hwnd = window->hwnd;
  window->ready = false;
  windows_.erase(id);  // before DestroyWindow: no event reaches a half-destroyed window
  if (id == WindowId::Entry || id == WindowId::Advanced) {
    if (HWND owner = Handle(id == WindowId::Entry ? WindowId::Advanced : WindowId::Main)) {
      EnableWindow(owner, TRUE);
    }
  }
  DestroyWindow(hwnd);
  if (id == WindowId::Main) PostQuitMessage(0);
}

bool Win32WindowSystem::IsOpen(WindowId id) { return Find(id) != nullptr; }

void Win32WindowSystem::SetTitle(WindowId id, std::string_view title) {
  if (Window* window = Find(id)) SetWindowTextA(window->hwnd, std::string(title).c_str());
}

std::string Win32WindowSystem::Title(WindowId id) {
  Window* window = Find(id);
  return window ? WindowText(window->hwnd) : std::string();
}

void Win32WindowSystem::SetWindowSize(WindowId id, int width, int height) {
  if (Window* window = Find(id)) {
    SetWindowPos(window->hwnd, nullptr, 0, 0, ScaleForDpi(width, dpi_), ScaleForDpi(height, dpi_),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void Win32WindowSystem::Activate(WindowId id) {
  if (Window* window = Find(id)) SetActiveWindow(window->hwnd);
}

void Win32WindowSystem::ShowMessage(WindowId owner, std::string_view text, std::string_view title,
                                    MessageIcon icon) {
  const UINT type =
      MB_OK | (icon == MessageIcon::Information ? MB_ICONINFORMATION : MB_ICONEXCLAMATION);
  MessageBoxA(Handle(owner), std::string(text).c_str(), std::string(title).c_str(), type);
}

void Win32WindowSystem::EndProgram(int exitCode) {
  // At once, also from inside an action that is waiting in the input poll: nothing after this
  // call may touch the registry any more.
  ExitProcess(static_cast<UINT>(exitCode));
}

bool Win32WindowSystem::OnCurrentPage(Window& window, const ControlLayout& layout) {
  const auto page = PageOf(layouts_(window.id), layout);
  return !page || Page(ControlRef(window.id, page->first)) == page->second;
}

void Win32WindowSystem::ShowPages(Window& window) {
  const HWND focus = GetFocus();
  bool hidFocus = false, hid = false;
  for (auto& [id, control] : window.controls) {
    const bool show = control.visible && OnCurrentPage(window, *control.layout);
    if (!show && focus && (focus == control.hwnd || IsChild(control.hwnd, focus))) hidFocus = true;
    if (Show(control.hwnd, show) && !show) hid = true;
  }
  // Where a hidden control was, the window and the tab control beneath repaint, but the tab
  // control may not paint inside the frames above it: the page would keep patches of the
  // window's colour. Painted again whole, the page looks as it did when it was first shown.
  if (hid) RedrawWindow(window.hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  // Hiding a control whose child holds the focus (an IP-address box's field) leaves the focus
  // there: keys would edit a box nobody sees. The window takes it, as for any hidden control.
  if (hidFocus && GetFocus() == focus) ::SetFocus(window.hwnd);
}

bool Win32WindowSystem::Show(HWND control, bool show) {
  const bool shown = (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
  if (shown != show) ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
  return shown != show;
}

LRESULT CALLBACK Win32WindowSystem::WindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* system = reinterpret_cast<Win32WindowSystem*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  Window* window = system ? system->FindByHandle(hwnd) : nullptr;
  if (!window) return DefWindowProcA(hwnd, message, wParam, lParam);
  LRESULT result = 0;
  system->Guarded([&] { result = system->Handle(*window, message, wParam, lParam); });
  return result;
}

// No exception may unwind through the system's frames or out of the message loop (Enter and Esc
// are delivered from there): the action it interrupted ends here, and onFault tells the operator.
void Win32WindowSystem::Guarded(const std::function<void()>& action) {
  const bool outermost = ++guardDepth_ == 1;
  try {
    action();
  } catch (const std::exception& error) {
    if (onFault) onFault(error.what(), outermost);
  } catch (...) {
    if (onFault) onFault("", outermost);
  }
  --guardDepth_;
}

// A handler may close (and so free) `window`: after an event has been delivered only the copies
// `id` and `hwnd` are used.
LRESULT Win32WindowSystem::Handle(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
  const WindowId id = window.id;
  const HWND hwnd = window.hwnd;
  switch (message) {
    case WM_COMMAND: {
      Control* control = ControlOf(window, reinterpret_cast<HWND>(lParam));
      if (!control) break;
      const int controlId = control->layout->id;
      switch (HIWORD(wParam)) {
        case BN_CLICKED:
          if (control->layout->kind == ControlKind::Button ||
              control->layout->kind == ControlKind::CheckBox ||
              control->layout->kind == ControlKind::ImageButton) {
            Deliver(id, EventKind::Click, controlId);
          }
          break;
        case BN_DOUBLECLICKED:  // an owner-drawn button's second click of a double-click
          if (control->layout->kind == ControlKind::ImageButton) Deliver(id, EventKind::Click, controlId);
          break;
        case CBN_SELCHANGE:  // == LBN_SELCHANGE
          if (control->layout->kind == ControlKind::DropDownList ||
              control->layout->kind == ControlKind::ListBox) {
            Deliver(id, EventKind::SelectionChange, controlId);
          }
          break;
        case EN_CHANGE:
          if (control->layout->kind != ControlKind::Edit) break;
          // A number box takes digits only, a paste too (ES_NUMBER stops typed keys alone). The
          // digits set again report their own change; this one is not reported.
          if ((control->layout->flags & flag::kIntegerOnly) && KeepDigitsOnly(control->hwnd)) break;
          Deliver(id, EventKind::TextChange, controlId);
          break;
      }
      return 0;
    }
    case WM_NOTIFY: {
      auto* header = reinterpret_cast<NMHDR*>(lParam);
      Control* control = ControlOf(window, header->hwndFrom);
      if (!control) break;
      if (header->code == TCN_SELCHANGE) {
        ShowPages(window);
        Deliver(id, EventKind::PageChange, control->layout->id);
      } else if ((header->code == NM_CLICK || header->code == NM_RETURN) &&
                 control->layout->kind == ControlKind::Hyperlink) {
        ShellExecuteA(window.hwnd, "open", control->layout->target.c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
      }
      return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORBTN: {
      Control* control = ControlOf(window, reinterpret_cast<HWND>(lParam));
      HDC dc = reinterpret_cast<HDC>(wParam);
      if (!control) break;
      ::SetTextColor(dc, ToColorRef(control->color));
      if (control->backBrush) {
        SetBkColor(dc, ToColorRef(*control->layout->backColor));
        return reinterpret_cast<LRESULT>(control->backBrush.get());
      }
      const int face = message == WM_CTLCOLOREDIT ? COLOR_WINDOW : COLOR_BTNFACE;
      SetBkColor(dc, GetSysColor(face));
      return reinterpret_cast<LRESULT>(GetSysColorBrush(face));
    }
    case WM_DRAWITEM: {
      auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
      if (Control* control = ControlOf(window, item->hwndItem)) DrawImageButton(*control, *item);
      return TRUE;
    }
    case WM_NEXTDLGCTL: {  // a multi-line box hands Tab on to its parent, as to a dialog
      const HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : GetNextDlgTabItem(hwnd, GetFocus(), wParam != 0);
      if (next) ::SetFocus(next);
      return 0;
    }
    case DM_GETDEFID: {
      const int button = DefaultButton(id);
      return button ? MAKELRESULT(button, DC_HASDEFID) : 0;
    }
    case WM_ACTIVATE:
      if (LOWORD(wParam) == WA_INACTIVE) {
        if (const int focused = Focused(id)) window.savedFocus = focused, window.savedFocusPart = GetFocus();
        Deliver(id, EventKind::Deactivated);
        return 0;
      }
      if (!HIWORD(wParam)) {  // not minimised: the focus goes back where it was, as in a dialog
        RestoreFocus(window);
        return 0;
      }
      break;
    case WM_CLOSE:
      Deliver(id, EventKind::CloseRequest);
      return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

void Win32WindowSystem::DrawImageButton(const Control& control, const DRAWITEMSTRUCT& item) {
  const HBITMAP strip = arrows_[control.layout->image == ImageKind::ArrowDown ? 1 : 0].get();
  int picture = 0;  // normal, pressed, focused, disabled
  if (item.itemState & ODS_DISABLED) picture = 3;
  else if (item.itemState & ODS_SELECTED) picture = 1;
  else if (item.itemState & ODS_FOCUS) picture = 2;
  const RECT& area = item.rcItem;
  if (!strip) {
    FillRect(item.hDC, &area, GetSysColorBrush(COLOR_BTNFACE));
    return;
  }
  ScopedMemoryDc memory(CreateCompatibleDC(item.hDC));
  Selected selected(memory.get(), strip);
  StretchBlt(item.hDC, area.left, area.top, area.right - area.left, area.bottom - area.top,
             memory.get(), picture * 27, 0, 27, 26, SRCCOPY);
}

}  // namespace netvane::win32
