#pragma once
// The layout model of the three windows: kinds, geometry, colours and flags of their controls,
// and the pure functions that place them at any DPI. The tables' contents live with the program.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "ui/Controls.h"

namespace netvane {

enum class ControlKind {
  Label, Edit, IpAddress, Button, CheckBox, GroupBox, DropDownList, ListBox, ListView, TabControl,
  Hyperlink, ImageButton,
};

struct Rgb {
  std::uint8_t r = 0, g = 0, b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};
inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kBlue{0, 96, 192};

// Song9: 宋体, 9 points, GB2312 character set. Narrow: small narrow digits, for the boxes that
// must fit a dotted address or a hardware address into their width.
enum class FontKind { Standard, Song9, Narrow };
enum class ImageKind { None, ArrowUp, ArrowDown };

namespace flag {
constexpr unsigned kHidden = 1 << 0;
constexpr unsigned kIntegerOnly = 1 << 1;
constexpr unsigned kPassword = 1 << 2;
constexpr unsigned kReadOnly = 1 << 3;
constexpr unsigned kDefaultButton = 1 << 4;
constexpr unsigned kMultiLine = 1 << 5;  // with a vertical scroll bar
constexpr unsigned kChecked = 1 << 6;
constexpr unsigned kNoTabHeader = 1 << 7;  // a tab control whose pages have no header strip
// A window-level control that lies over the lower rows of the main tab control's page 1: it is
// shown with page 0 only, so that it never covers the fields of page 1.
constexpr unsigned kWithFirstPage = 1 << 8;
}  // namespace flag

struct Column {
  std::string title;
  int width = 0;
};

struct Rect {
  int left = 0, top = 0, width = 0, height = 0;
  friend constexpr bool operator==(Rect, Rect) = default;
};

struct ControlLayout {
  int id = 0;
  const char* name = "";  // the resource name
  ControlKind kind = ControlKind::Label;
  std::string caption;
  int container = 0;  // id of the group box or tab control it sits in; 0 for the window
  int page = -1;      // the tab page, when the container is a tab control
  Rect bounds;        // relative to the container, at 96 DPI
  std::optional<Rgb> textColor;
  std::optional<Rgb> backColor;
  FontKind font = FontKind::Standard;
  unsigned flags = 0;
  int maxLength = 0;               // 0: no limit
  std::vector<Column> columns;     // list views
  std::vector<std::string> pages;  // tab controls: the page titles
  ImageKind image = ImageKind::None;
  std::string target;              // hyperlinks: the URL
};

struct WindowLayout {
  WindowId id = WindowId::Main;
  std::string caption;
  int width = 0, height = 0;  // outer size at 96 DPI
  std::vector<ControlLayout> controls;
  std::vector<int> tabOrder;  // focusable controls in Tab order; the rest are not tab stops
};

// Where the window system finds a window's layout table: the program's own tables, given to it
// by the code that owns them.
using LayoutSource = const WindowLayout& (*)(WindowId window);

// The row of a control, or nullptr for an unknown id.
const ControlLayout* FindControl(const WindowLayout& layout, int id);

// Where a control sits in its window's client area at the given DPI: its own position plus
// those of its containers, every figure scaled by dpi / 96.
Rect PlaceControl(const WindowLayout& layout, const ControlLayout& control, int dpi);
// A length at 96 DPI scaled to `dpi`, rounded as MulDiv does.
int ScaleForDpi(int value, int dpi);
// The tab page a control finally sits on (through its containers), if any: {tab id, page}.
std::optional<std::pair<int, int>> PageOf(const WindowLayout& layout, const ControlLayout& control);

}  // namespace netvane
