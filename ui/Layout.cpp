#include "ui/Layout.h"

#include <utility>

namespace netvane {

const ControlLayout* FindControl(const WindowLayout& layout, int id) {
  for (const ControlLayout& control : layout.controls) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

int ScaleForDpi(int value, int dpi) {
  // MulDiv(value, dpi, 96): rounded half away from zero.
  const long long product = static_cast<long long>(value) * dpi;
  const long long half = 48;
  return static_cast<int>(product >= 0 ? (product + half) / 96 : -((-product + half) / 96));
}

Rect PlaceControl(const WindowLayout& layout, const ControlLayout& control, int dpi) {
  int left = control.bounds.left;
  int top = control.bounds.top;
  for (const ControlLayout* at = FindControl(layout, control.container); at != nullptr;
       at = FindControl(layout, at->container)) {
    left += at->bounds.left;
    top += at->bounds.top;
  }
  return Rect{ScaleForDpi(left, dpi), ScaleForDpi(top, dpi), ScaleForDpi(control.bounds.width, dpi),
              ScaleForDpi(control.bounds.height, dpi)};
}

std::optional<std::pair<int, int>> PageOf(const WindowLayout& layout, const ControlLayout& control) {
  if (control.flags & flag::kWithFirstPage) {
    for (const ControlLayout& row : layout.controls) {
      if (row.kind == ControlKind::TabControl) return std::make_pair(row.id, 0);
    }
  }
  for (const ControlLayout* at = &control; at != nullptr; at = FindControl(layout, at->container)) {
    const ControlLayout* container = FindControl(layout, at->container);
    if (container && container->kind == ControlKind::TabControl) {
      return std::make_pair(container->id, at->page);
    }
  }
  return std::nullopt;
}

}  // namespace netvane
