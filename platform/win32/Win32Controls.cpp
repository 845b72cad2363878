// Controls: creation by kind, and one thin operation over SendMessage per seam call.
#include "platform/win32/Win32Windows.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "platform/win32/Win32Later.h"

namespace netvane::win32 {
std::string WindowText(HWND hwnd) {
  std::string text(GetWindowTextLengthA(hwnd) + 1, '\0');
  text.resize(GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size())));
  return text;
}

namespace {

// The four field edits of an IP-address control, left to right.
std::vector<HWND> AddressFields(HWND control) {
  std::vector<HWND> fields;
  for (HWND child = GetWindow(control, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    fields.push_back(child);
  }
  std::sort(fields.begin(), fields.end(), [](HWND a, HWND b) {
    RECT ra, rb;
    GetWindowRect(a, &ra);
    GetWindowRect(b, &rb);
    return ra.left < rb.left;
  });
  return fields;
}

bool IsCombo(const ControlLayout& layout) { return layout.kind == ControlKind::DropDownList; }

// Controls whose text is only shown: setting the text they already show changes nothing and
// reports nothing, but a label or a frame repaints at once. (An edit box reports every set.)
bool ShowsTextOnly(ControlKind kind) {
  return kind == ControlKind::Label || kind == ControlKind::GroupBox ||
         kind == ControlKind::Button || kind == ControlKind::CheckBox;
}

}  // namespace

// A control of a window that has closed meanwhile (a handler run from the input poll may still
// reach for one) is a control without a window: every operation on it does nothing. No
// exception may cross the window procedures this runs under.
Win32WindowSystem::Control& Win32WindowSystem::At(ControlRef ref) {
  if (Window* window = Find(ref.window)) {
    const auto found = window->controls.find(ref.id);
    if (found != window->controls.end()) return found->second;
  }
  static const ControlLayout kNoLayout;
  static Control none;
  none = Control{};
  none.layout = &kNoLayout;
  return none;
}

void Win32WindowSystem::CreateControl(Window& window, const ControlLayout& row) {
  const WindowLayout& layout = layouts_(window.id);
  const Rect place = PlaceControl(layout, row, dpi_);
  const bool tabStop = std::find(layout.tabOrder.begin(), layout.tabOrder.end(), row.id) !=
                       layout.tabOrder.end();
  DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (tabStop ? WS_TABSTOP : 0);
  DWORD exStyle = 0;
  const char* className = "STATIC";
  std::string text = row.caption;
  int height = place.height;
  switch (row.kind) {
    case ControlKind::Label:
      style |= SS_LEFTNOWORDWRAP | SS_NOPREFIX;
      break;
    case ControlKind::Edit:
      className = "EDIT";
      exStyle = WS_EX_CLIENTEDGE;
      style |= ES_AUTOHSCROLL;
      if (row.flags & flag::kIntegerOnly) style |= ES_NUMBER;
      if (row.flags & flag::kPassword) style |= ES_PASSWORD;
      if (row.flags & flag::kReadOnly) style |= ES_READONLY;
      if (row.flags & flag::kMultiLine) style = (style & ~ES_AUTOHSCROLL) | ES_MULTILINE | WS_VSCROLL | ES_AUTOVSCROLL;
      break;
    case ControlKind::IpAddress:
      className = WC_IPADDRESSA;
      text.clear();
      break;
    case ControlKind::Button:
      className = "BUTTON";
      style |= (row.flags & flag::kDefaultButton) ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
      break;
    case ControlKind::CheckBox:
      className = "BUTTON";
      style |= BS_AUTOCHECKBOX;
      break;
    case ControlKind::GroupBox:
      className = "BUTTON";
      style |= BS_GROUPBOX;
      break;
    case ControlKind::DropDownList:
      className = WC_COMBOBOXA;
      style |= CBS_DROPDOWNLIST | WS_VSCROLL;
      height = ScaleForDpi(200, dpi_);  // the height of the opened list
      break;
    case ControlKind::ListBox:
      className = WC_LISTBOXA;
      exStyle = WS_EX_CLIENTEDGE;
      style |= LBS_NOTIFY | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
      break;
    case ControlKind::ListView:
      className = WC_LISTVIEWA;
      exStyle = WS_EX_CLIENTEDGE;
      style |= LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS;
      break;
    case ControlKind::TabControl:
      className = WC_TABCONTROLA;
      break;
    case ControlKind::Hyperlink:
      className = "SysLink";  // WC_LINK is only spelt wide
      text = "<a>" + row.caption + "</a>";
      break;
    case ControlKind::ImageButton:
      className = "BUTTON";
      style |= BS_OWNERDRAW;
      break;
  }
  Control control;
  control.layout = &row;
  control.visible = !(row.flags & flag::kHidden);
  control.color = row.textColor.value_or(kBlack);
  control.linkText = row.caption;
  control.hwnd = CreateWindowExA(exStyle, className, text.c_str(), style, place.left, place.top,
                                 place.width, height, window.hwnd,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_,
                                 nullptr);
  if (!control.hwnd) return;
  // A password box shows "*" for each character; comctl32 6 would show a black circle.
  if (row.flags & flag::kPassword) SendMessageA(control.hwnd, EM_SETPASSWORDCHAR, '*', 0);
  const HFONT font = FontFor(row.font);
  SendMessageA(control.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  if (row.kind == ControlKind::IpAddress) {
    control.fields = AddressFields(control.hwnd);
    // The fields are narrow: no inner margins, so three digits fit.
    for (HWND field : control.fields) {
      SendMessageA(field, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
      SendMessageA(field, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
    }
  }
  if (row.backColor) {
    control.backBrush =
        ScopedGdi<HBRUSH>(CreateSolidBrush(RGB(row.backColor->r, row.backColor->g, row.backColor->b)));
  }
  if (row.textColor && (row.kind == ControlKind::GroupBox || row.kind == ControlKind::CheckBox)) {
    // Themed frames and check boxes ignore the text colour; these draw the classic way.
    DrawUnthemed(control.hwnd);
  }
  if (row.flags & flag::kChecked) SendMessageA(control.hwnd, BM_SETCHECK, BST_CHECKED, 0);
  if (row.maxLength > 0) SendMessageA(control.hwnd, EM_SETLIMITTEXT, row.maxLength, 0);
  if (row.kind == ControlKind::ListView) {
    SendMessageA(control.hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                 LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (std::size_t i = 0; i < row.columns.size(); ++i) {
      LVCOLUMNA column = {};
      column.mask = LVCF_TEXT | LVCF_WIDTH;
      column.cx = ScaleForDpi(row.columns[i].width, dpi_);
      column.pszText = const_cast<char*>(row.columns[i].title.c_str());
      SendMessageA(control.hwnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
    }
  }
  if (row.kind == ControlKind::TabControl && !(row.flags & flag::kNoTabHeader)) {
    for (std::size_t i = 0; i < row.pages.size(); ++i) {
      TCITEMA item = {};
      item.mask = TCIF_TEXT;
      item.pszText = const_cast<char*>(row.pages[i].c_str());
      SendMessageA(control.hwnd, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
  }
  window.controls[row.id] = std::move(control);
}

void Win32WindowSystem::SetText(ControlRef ref, std::string_view text) {
  Control& control = At(ref);
  switch (control.layout->kind) {
    case ControlKind::IpAddress: {
      // Only the fields whose text differs: each change runs the box's own notifications, and
      // a refresh mostly shows the address the box already holds.
      const std::string address = IpAddressText(text);
      std::size_t start = 0;
      for (std::size_t i = 0; i < control.fields.size() && i < 4; ++i) {
        std::string part;
        if (!address.empty()) {
          const std::size_t dot = address.find('.', start);
          part = address.substr(start, dot - start);
          start = dot + 1;
        }
        if (WindowText(control.fields[i]) != part) SetWindowTextA(control.fields[i], part.c_str());
      }
      return;
    }
    case ControlKind::Hyperlink:
      control.linkText = text;
      SetWindowTextA(control.hwnd, ("<a>" + std::string(text) + "</a>").c_str());
      return;
    default:
      if (ShowsTextOnly(control.layout->kind) && WindowText(control.hwnd) == text) return;
      SetWindowTextA(control.hwnd, std::string(text).c_str());
  }
}

std::string Win32WindowSystem::Text(ControlRef ref) {
  Control& control = At(ref);
  if (control.layout->kind == ControlKind::Hyperlink) return control.linkText;
  if (control.layout->kind != ControlKind::IpAddress) return WindowText(control.hwnd);
  std::string joined;
  for (std::size_t i = 0; i < control.fields.size(); ++i) {
    if (i) joined += '.';
    joined += WindowText(control.fields[i]);
  }
  return IpAddressText(joined);
}

// Windows leaves a window with no focus at all when its focused control is disabled, and the
// keyboard goes dead. The focus moves to the default button instead, or waits on the window
// itself until that button is enabled again; a window without one passes it on as Tab would.
void Win32WindowSystem::SetEnabled(ControlRef ref, bool enabled) {
  Window* window = Find(ref.window);
  HWND hwnd = At(ref).hwnd;
  if (!window || !hwnd) return;
  HWND focus = GetFocus();
  const bool hadFocus = !enabled && focus && (focus == hwnd || IsChild(hwnd, focus));
  EnableWindow(hwnd, enabled);
  if (hadFocus && !DefaultButton(ref.window)) {
    const HWND next = GetNextDlgTabItem(window->hwnd, hwnd, FALSE);
    ::SetFocus(next && next != hwnd ? next : window->hwnd);
  } else if (hadFocus) {
    window->focusToDefault = true;
    RestoreFocus(*window);
  } else if (enabled && window->focusToDefault && ref.id == DefaultButton(ref.window) &&
             GetFocus() == window->hwnd) {
    RestoreFocus(*window);
  }
}

int Win32WindowSystem::DefaultButton(WindowId id) {
  for (const ControlLayout& row : layouts_(id).controls) {
    if (row.flags & flag::kDefaultButton) return row.id;
  }
  return 0;
}

void Win32WindowSystem::RestoreFocus(Window& window) {
  const auto usable = [&](int id) {
    const auto found = window.controls.find(id);
    return found != window.controls.end() && IsWindowEnabled(found->second.hwnd) &&
           IsWindowVisible(found->second.hwnd);
  };
  int target = window.focusToDefault ? 0 : window.savedFocus;
  if (!usable(target)) target = DefaultButton(window.id);
  if (usable(target)) {
    window.focusToDefault = false;
    const HWND control = window.controls[target].hwnd, part = window.savedFocusPart;
    // Into the field it left, as a dialog does: the box itself would start again at field one.
    const bool inPart = target == window.savedFocus && part && IsChild(control, part) && IsWindowEnabled(part);
    ::SetFocus(inPart ? part : control);
  } else {
    ::SetFocus(window.hwnd);  // keys still reach the window and its Enter handling
  }
}

bool Win32WindowSystem::Enabled(ControlRef ref) { return IsWindowEnabled(At(ref).hwnd) != FALSE; }

void Win32WindowSystem::SetVisible(ControlRef ref, bool visible) {
  Window* window = Find(ref.window);
  Control& control = At(ref);
  if (!window || !control.hwnd) return;
  control.visible = visible;
  Show(control.hwnd, visible && OnCurrentPage(*window, *control.layout));
}

bool Win32WindowSystem::Visible(ControlRef ref) { return At(ref).visible; }

void Win32WindowSystem::SetChecked(ControlRef ref, bool checked) {
  SendMessageA(At(ref).hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32WindowSystem::Checked(ControlRef ref) {
  return SendMessageA(At(ref).hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32WindowSystem::SetReadOnly(ControlRef ref, bool readOnly) {
  SendMessageA(At(ref).hwnd, EM_SETREADONLY, readOnly, 0);
}

bool Win32WindowSystem::ReadOnly(ControlRef ref) {
  return (GetWindowLongA(At(ref).hwnd, GWL_STYLE) & ES_READONLY) != 0;
}

void Win32WindowSystem::SetTextColor(ControlRef ref, Rgb color) {
  Control& control = At(ref);
  if (control.color == color) return;  // the same colour needs no repaint
  control.color = color;
  InvalidateRect(control.hwnd, nullptr, TRUE);
}

Rgb Win32WindowSystem::TextColor(ControlRef ref) { return At(ref).color; }

void Win32WindowSystem::SetFocus(ControlRef ref) {
  if (HWND hwnd = At(ref).hwnd) ::SetFocus(hwnd);  // never the placeholder: that clears the focus
}

int Win32WindowSystem::Focused(WindowId id) {
  Window* window = Find(id);
  HWND focus = GetFocus();
  if (!window || !focus) return 0;
  const Control* control = ControlOf(*window, focus);
  return control ? control->layout->id : 0;
}

void Win32WindowSystem::SetPosition(ControlRef ref, int left, int top) {
  Control& control = At(ref);
  ControlLayout moved = *control.layout;
  moved.bounds.left = left;
  moved.bounds.top = top;
  const Rect place = PlaceControl(layouts_(ref.window), moved, dpi_);
  SetWindowPos(control.hwnd, nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

Rect Win32WindowSystem::Bounds(ControlRef ref) {
  Control& control = At(ref);
  RECT rect = {};
  if (!control.hwnd || !GetWindowRect(control.hwnd, &rect)) return Rect{};
  MapWindowPoints(HWND_DESKTOP, GetParent(control.hwnd), reinterpret_cast<POINT*>(&rect), 2);
  int height = rect.bottom - rect.top;
  if (IsCombo(*control.layout)) {
    // A drop-down list's window includes its opened list; the field is what the layout sizes.
    height = PlaceControl(layouts_(ref.window), *control.layout, dpi_).height;
  }
  return Rect{rect.left, rect.top, rect.right - rect.left, height};
}

void Win32WindowSystem::ClearItems(ControlRef ref) {
  Control& control = At(ref);
  SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
}

void Win32WindowSystem::AddItem(ControlRef ref, std::string_view text) {
  Control& control = At(ref);
  SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_ADDSTRING : LB_ADDSTRING, 0,
               reinterpret_cast<LPARAM>(std::string(text).c_str()));
}

void Win32WindowSystem::SetItem(ControlRef ref, int index, std::string_view text) {
  Control& control = At(ref);
  const bool combo = IsCombo(*control.layout);
  if (index < 0 || index >= ItemCount(ref)) return;
  const int selected = Selection(ref);
  SendMessageA(control.hwnd, combo ? CB_DELETESTRING : LB_DELETESTRING, index, 0);
  SendMessageA(control.hwnd, combo ? CB_INSERTSTRING : LB_INSERTSTRING, index,
               reinterpret_cast<LPARAM>(std::string(text).c_str()));
  if (selected == index) Select(ref, index);
}

void Win32WindowSystem::RemoveItem(ControlRef ref, int index) {
  Control& control = At(ref);
  SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_DELETESTRING : LB_DELETESTRING, index,
               0);
}

int Win32WindowSystem::ItemCount(ControlRef ref) {
  Control& control = At(ref);
  const LRESULT count =
      SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_GETCOUNT : LB_GETCOUNT, 0, 0);
  return count < 0 ? 0 : static_cast<int>(count);
}

std::string Win32WindowSystem::Item(ControlRef ref, int index) {
  Control& control = At(ref);
  const bool combo = IsCombo(*control.layout);
  const LRESULT length =
      SendMessageA(control.hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, index, 0);
  if (length < 0) return {};
  std::string text(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got = SendMessageA(control.hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, index,
                                   reinterpret_cast<LPARAM>(text.data()));
  text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
  return text;
}

void Win32WindowSystem::Select(ControlRef ref, int index) {
  Control& control = At(ref);
  SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_SETCURSEL : LB_SETCURSEL, index, 0);
}

// -1 also for a window that has gone, where any message would read 0.
int Win32WindowSystem::Selection(ControlRef ref) {
  Control& control = At(ref);
  if (!control.hwnd) return -1;
  const LRESULT index =
      SendMessageA(control.hwnd, IsCombo(*control.layout) ? CB_GETCURSEL : LB_GETCURSEL, 0, 0);
  return index < 0 ? -1 : static_cast<int>(index);
}

void Win32WindowSystem::ClearRows(ControlRef ref) {
  SendMessageA(At(ref).hwnd, LVM_DELETEALLITEMS, 0, 0);
}

void Win32WindowSystem::AddRow(ControlRef ref, const std::vector<std::string>& cells) {
  HWND list = At(ref).hwnd;
  LVITEMA item = {};
  item.mask = LVIF_TEXT;
  item.iItem = RowCount(ref);
  item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
  const LRESULT row = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
  for (std::size_t column = 1; column < cells.size(); ++column) {
    SetCell(ref, static_cast<int>(row), static_cast<int>(column), cells[column]);
  }
}

void Win32WindowSystem::SetCell(ControlRef ref, int row, int column, std::string_view text) {
  std::string value(text);
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = value.data();
  SendMessageA(At(ref).hwnd, LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
}

void Win32WindowSystem::RemoveRow(ControlRef ref, int row) {
  SendMessageA(At(ref).hwnd, LVM_DELETEITEM, row, 0);
}

int Win32WindowSystem::RowCount(ControlRef ref) {
  return static_cast<int>(SendMessageA(At(ref).hwnd, LVM_GETITEMCOUNT, 0, 0));
}

std::string Win32WindowSystem::Cell(ControlRef ref, int row, int column) {
  std::vector<char> buffer(1024, '\0');
  LVITEMA item = {};
  item.iSubItem = column;
  item.pszText = buffer.data();
  item.cchTextMax = static_cast<int>(buffer.size());
  const LRESULT length =
      SendMessageA(At(ref).hwnd, LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::string(buffer.data(), length < 0 ? 0 : static_cast<std::size_t>(length));
}

void Win32WindowSystem::SelectRow(ControlRef ref, int row) {
  HWND list = At(ref).hwnd;
  LVITEMA item = {};
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(&item));
  if (row < 0) return;
  item.state = LVIS_SELECTED | LVIS_FOCUSED;
  SendMessageA(list, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&item));
}

int Win32WindowSystem::SelectedRow(ControlRef ref) {
  const HWND list = At(ref).hwnd;
  if (!list) return -1;
  return static_cast<int>(SendMessageA(list, LVM_GETNEXTITEM, WPARAM(-1), LVNI_SELECTED));
}

void Win32WindowSystem::SelectPage(ControlRef ref, int page) {
  Control& control = At(ref);
  if (control.layout->flags & flag::kNoTabHeader) {
    control.page = page;
  } else {
    SendMessageA(control.hwnd, TCM_SETCURSEL, page, 0);
  }
  if (Window* window = Find(ref.window)) ShowPages(*window);
}

int Win32WindowSystem::Page(ControlRef ref) {
  Control& control = At(ref);
  if (control.layout->flags & flag::kNoTabHeader) return control.page;
  return static_cast<int>(SendMessageA(control.hwnd, TCM_GETCURSEL, 0, 0));
}

}  // namespace netvane::win32
