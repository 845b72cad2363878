// The layout tables as geometry: what the operator sees together must not overlap, and every
// figure scales with the DPI setting as MulDiv scales it.
#include "app/Layout.h"

#include <gtest/gtest.h>

namespace netvane {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

// What the operator sees together must not overlap, and every control sits inside its container
// and its window.
TEST(Layout, ControlsShownTogetherNeverOverlapAndStayInsideTheirContainers) {
  for (WindowId id : {WindowId::Main, WindowId::Advanced, WindowId::Entry}) {
    const WindowLayout& layout = LayoutOf(id);
    for (const ControlLayout& row : layout.controls) {
      const Rect place = PlaceControl(layout, row, 96);
      EXPECT_LE(place.left + place.width, layout.width) << row.name;
      EXPECT_LE(place.top + place.height, layout.height) << row.name;
      if (const ControlLayout* container = FindControl(layout, row.container)) {
        EXPECT_LE(row.bounds.left + row.bounds.width, container->bounds.width) << row.name;
        EXPECT_LE(row.bounds.top + row.bounds.height, container->bounds.height) << row.name;
      } else {
        EXPECT_EQ(row.container, 0) << row.name;
      }
    }
  }
  const WindowLayout& layout = LayoutOf(WindowId::Main);
  const int tab = static_cast<int>(MainControl::功能选择夹);
  for (int page : {0, 1}) {
    std::vector<const ControlLayout*> shown;
    for (const ControlLayout& row : layout.controls) {
      const auto on = PageOf(layout, row);
      const bool container = row.kind == ControlKind::GroupBox || row.kind == ControlKind::TabControl;
      if (!container && (!on || (on->first == tab && on->second == page))) shown.push_back(&row);
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
      for (std::size_t j = i + 1; j < shown.size(); ++j) {
        EXPECT_FALSE(Overlap(PlaceControl(layout, *shown[i], 96), PlaceControl(layout, *shown[j], 96)))
            << shown[i]->name << " / " << shown[j]->name << " on page " << page;
      }
    }
  }
}

TEST(Layout, PositionsAddUpThroughContainersAndScaleLikeMulDiv) {
  const WindowLayout& main = LayoutOf(WindowId::Main);
  const ControlLayout& address = *FindControl(main, static_cast<int>(MainControl::地址框));
  EXPECT_EQ(PlaceControl(main, address, 96), (Rect{270, 75, 100, 18}));  // 255+10+5, 15+5+55
  EXPECT_EQ(PlaceControl(main, address, 144), (Rect{405, 113, 150, 27}));
  EXPECT_EQ(ScaleForDpi(27, 120), 34);  // 33.75 rounds up
  EXPECT_EQ(ScaleForDpi(26, 120), 33);  // 32.5 rounds half away from zero
  EXPECT_EQ(ScaleForDpi(-10, 144), -15);
  const auto page = PageOf(main, *FindControl(main, static_cast<int>(MainControl::机器数框)));
  ASSERT_TRUE(page);
  EXPECT_EQ(page->second, 1);
  EXPECT_FALSE(PageOf(main, *FindControl(main, static_cast<int>(MainControl::退出按钮))));
  EXPECT_EQ(PageOf(main, *FindControl(main, static_cast<int>(MainControl::自动消块1))),  // outside, yet with page 0
            std::pair(static_cast<int>(MainControl::功能选择夹), 0));
}

TEST(Layout, TabOrderNamesEveryEditableControlOnceAndNothingElse) {
  for (WindowId id : {WindowId::Main, WindowId::Advanced, WindowId::Entry}) {
    const WindowLayout& layout = LayoutOf(id);
    std::size_t named = 0;  // ids in the tab order that name a control
    for (const ControlLayout& row : layout.controls) {
      const bool typedInto = (row.kind == ControlKind::Edit || row.kind == ControlKind::IpAddress) &&
                             !(row.flags & flag::kReadOnly);
      const bool passive = row.kind == ControlKind::Label || row.kind == ControlKind::GroupBox;
      const auto count = std::count(layout.tabOrder.begin(), layout.tabOrder.end(), row.id);
      EXPECT_TRUE(typedInto ? count == 1 : count <= (passive ? 0 : 1)) << row.name;
      named += count;
    }
    EXPECT_EQ(named, layout.tabOrder.size());
  }
  // A tab control lies beneath its pages' controls, so it can only come last.
  const auto& advanced = LayoutOf(WindowId::Advanced).tabOrder;
  EXPECT_EQ(advanced.back(), static_cast<int>(AdvancedControl::功能选择夹));
  const auto& order = LayoutOf(WindowId::Main).tabOrder;
  EXPECT_EQ(std::count(order.begin(), order.end(), static_cast<int>(MainControl::MAC信息框)), 0);
}

}  // namespace
}  // namespace netvane
