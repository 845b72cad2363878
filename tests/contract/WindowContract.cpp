// The window seam: one suite for the in-memory windows and the real Win32 ones (under Wine and
// Xvfb), so the double the behaviour is tested against cannot drift from the real controls.
#include "tests/contract/WindowFixture.h"

namespace netvane::testing {

using M = MainControl;
using A = AdvancedControl;
using E = EntryControl;

TEST_P(WindowContract, MainWindowOpensWithEveryControlOfItsLayout) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  EXPECT_EQ(w.Title(WindowId::Main), "Netvane V1.0");
  for (const ControlLayout& row : LayoutOf(WindowId::Main).controls) {
    const ControlRef ref(WindowId::Main, row.id);
    EXPECT_TRUE(w.Enabled(ref)) << row.name;
    EXPECT_TRUE(w.Visible(ref)) << row.name;
    if (row.kind == ControlKind::Label || row.kind == ControlKind::Button ||
        row.kind == ControlKind::GroupBox || row.kind == ControlKind::CheckBox ||
        row.kind == ControlKind::Hyperlink || row.kind == ControlKind::Edit) {
      EXPECT_EQ(w.Text(ref), row.caption) << row.name;
    }
    if (row.kind != ControlKind::DropDownList) {
      EXPECT_EQ(w.Bounds(ref), PlaceControl(LayoutOf(WindowId::Main), row, 96)) << row.name;
    }
  }
  EXPECT_EQ(w.Text(M::网吧修改框), "网吧修改");
  EXPECT_TRUE(w.Checked(M::自动消块1));
  EXPECT_FALSE(w.Checked(M::增位框));
  EXPECT_TRUE(w.ReadOnly(M::MAC信息框));
  EXPECT_FALSE(w.ReadOnly(M::机器名框));
  EXPECT_EQ(w.TextColor(M::本地连接框), kGreen);
  EXPECT_EQ(w.TextColor(M::提示标签), kRed);
  EXPECT_EQ(w.Page(M::功能选择夹), 0);
  EXPECT_EQ(w.Focused(WindowId::Main), static_cast<int>(M::网吧按钮));
}

TEST_P(WindowContract, IpAddressBoxesReadAsTheirFourFields) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  EXPECT_EQ(w.Text(M::地址框), "");
  w.SetText(M::地址框, "192.168.16.5");
  EXPECT_EQ(w.Text(M::地址框), "192.168.16.5");
  w.SetText(M::地址框, "10...");
  EXPECT_EQ(w.Text(M::地址框), "10...");
  w.SetText(M::掩码框, "255.255.255");
  EXPECT_EQ(w.Text(M::掩码框), "255.255.255.");
  w.SetText(M::地址框, "");
  EXPECT_EQ(w.Text(M::地址框), "");
}

TEST_P(WindowContract, StatesRoundTrip) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  w.SetText(M::机器名框, "User019");
  w.SetText(M::本地连接框, "本地连接 2");
  w.SetEnabled(M::刷新按钮, false);
  w.SetChecked(M::增位框, true);
  w.SetReadOnly(M::网络号框, true);
  w.SetTextColor(M::网络号框, kRed);
  EXPECT_EQ(w.Text(M::机器名框), "User019");
  EXPECT_EQ(w.Text(M::本地连接框), "本地连接 2");
  EXPECT_FALSE(w.Enabled(M::刷新按钮));
  EXPECT_TRUE(w.Checked(M::增位框));
  EXPECT_TRUE(w.ReadOnly(M::网络号框));
  EXPECT_EQ(w.TextColor(M::网络号框), kRed);
  w.SetFocus(M::机器名框);
  EXPECT_EQ(w.Focused(WindowId::Main), static_cast<int>(M::机器名框));
  w.SetFocus(M::地址框);  // the focus lands in one of the box's fields
  EXPECT_EQ(w.Focused(WindowId::Main), static_cast<int>(M::地址框));
}

TEST_P(WindowContract, DropDownItemsAndSelection) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  EXPECT_EQ(w.ItemCount(M::网卡选择框), 0);
  EXPECT_EQ(w.Selection(M::网卡选择框), -1);
  for (const char* item : {"Realtek RTL8139", "Intel PRO/100", "未发现网卡信息"}) {
    w.AddItem(M::网卡选择框, item);
  }
  w.Select(M::网卡选择框, 1);
  EXPECT_EQ(w.ItemCount(M::网卡选择框), 3);
  EXPECT_EQ(w.Item(M::网卡选择框, 2), "未发现网卡信息");  // items keep their order
  EXPECT_EQ(w.Selection(M::网卡选择框), 1);
  w.ClearItems(M::网卡选择框);
  EXPECT_EQ(w.ItemCount(M::网卡选择框), 0);
  EXPECT_EQ(w.Selection(M::网卡选择框), -1);
}

TEST_P(WindowContract, AdvancedListsRowsPagesAndListBox) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  w.OpenModeless(WindowId::Advanced);
  EXPECT_EQ(w.Title(WindowId::Advanced), "高级 TCP/IP 设置");
  EXPECT_EQ(w.RowCount(A::超级列表框2), 0);
  w.AddRow(A::超级列表框2, {"192.168.16.254", "自动"});
  w.AddRow(A::超级列表框2, {"192.168.16.253", "20"});
  w.SetCell(A::超级列表框2, 1, 1, "30");
  w.SelectRow(A::超级列表框2, 1);
  EXPECT_EQ(w.RowCount(A::超级列表框2), 2);
  EXPECT_EQ(w.Cell(A::超级列表框2, 0, 1), "自动");
  EXPECT_EQ(w.Cell(A::超级列表框2, 1, 1), "30");
  EXPECT_EQ(w.SelectedRow(A::超级列表框2), 1);
  w.RemoveRow(A::超级列表框2, 0);
  EXPECT_EQ(w.Cell(A::超级列表框2, 0, 0), "192.168.16.253");
  EXPECT_EQ(w.SelectedRow(A::超级列表框2), 0);

  w.SelectPage(A::功能选择夹, 1);
  EXPECT_EQ(w.Page(A::功能选择夹), 1);
  for (const char* server : {"1.1.1.1", "2.2.2.2", "3.3.3.3"}) w.AddItem(A::DNS列表框, server);
  w.Select(A::DNS列表框, 2);
  w.SetItem(A::DNS列表框, 2, "9.9.9.9");
  EXPECT_EQ(w.Item(A::DNS列表框, 2), "9.9.9.9");
  EXPECT_EQ(w.Selection(A::DNS列表框), 2);
  w.RemoveItem(A::DNS列表框, 0);
  EXPECT_EQ(w.ItemCount(A::DNS列表框), 2);
  EXPECT_EQ(w.Item(A::DNS列表框, 0), "2.2.2.2");
  w.Close(WindowId::Advanced);
  EXPECT_FALSE(w.IsOpen(WindowId::Advanced));
  EXPECT_TRUE(w.IsOpen(WindowId::Main));
}

TEST_P(WindowContract, EntryDialogStartsHiddenAndIsArrangedAtRunTime) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  w.OpenModeless(WindowId::Advanced);
  w.OpenModeless(WindowId::Entry);
  EXPECT_EQ(w.Title(WindowId::Entry), "数据处理");
  for (const ControlLayout& row : LayoutOf(WindowId::Entry).controls) {
    const bool button = row.kind == ControlKind::Button;
    EXPECT_EQ(w.Visible(ControlRef(WindowId::Entry, row.id)), button) << row.name;
  }
  w.SetVisible(E::网关框, true);
  w.SetTitle(WindowId::Entry, "TCP/IP 网关地址");
  w.SetPosition(E::添加按钮, 35, 100);
  EXPECT_TRUE(w.Visible(E::网关框));
  EXPECT_EQ(w.Title(WindowId::Entry), "TCP/IP 网关地址");
  EXPECT_EQ(w.Bounds(E::添加按钮), (Rect{35, 100, 56, 24}));
  EXPECT_EQ(w.Bounds(E::跃点框), (Rect{115, 60, 50, 20}));  // inside its group box
  w.Close(WindowId::Entry);
}

TEST_P(WindowContract, TextChangesOfEditBoxesAreReported) {
  WindowSystem& w = windows();
  int changes = 0;
  w.SetHandler(WindowId::Entry, [&](const WindowEvent& event) {
    if (event.kind == EventKind::TextChange && event.control == static_cast<int>(E::跃点框)) ++changes;
  });
  w.OpenModeless(WindowId::Main);
  w.OpenModeless(WindowId::Advanced);
  w.OpenModeless(WindowId::Entry);
  w.SetText(E::跃点框, "20");
  EXPECT_EQ(changes, 1);
  w.SetText(E::跃点框, "");
  EXPECT_EQ(changes, 2);
}

}  // namespace netvane::testing

namespace netvane::testing {

// A disabled focused control hands the focus to the default button, or to nothing until that
// button is enabled again; a hidden control loses it.
TEST_P(WindowContract, DisabledOrHiddenControlsLoseTheFocus) {
  WindowSystem& w = windows();
  w.OpenModeless(WindowId::Main);
  w.SetFocus(M::刷新按钮);
  w.SetEnabled(M::刷新按钮, false);
  EXPECT_EQ(w.Focused(WindowId::Main), static_cast<int>(M::网吧按钮));
  w.SetEnabled(M::网吧按钮, false);
  EXPECT_EQ(w.Focused(WindowId::Main), 0);
  w.SetEnabled(M::刷新按钮, true);
  w.SetEnabled(M::网吧按钮, true);
  EXPECT_EQ(w.Focused(WindowId::Main), static_cast<int>(M::网吧按钮));
  w.SetFocus(M::机器名框);
  w.SelectPage(M::功能选择夹, 1);  // the box goes with page 0
  EXPECT_EQ(w.Focused(WindowId::Main), 0);
  w.SetFocus(M::机器数框);
  w.SetVisible(M::机器数框, false);
  EXPECT_EQ(w.Focused(WindowId::Main), 0);
}

TEST_P(WindowContract, SettingAnEditBoxToItsOwnTextStillCountsAsAChange) {
  WindowSystem& w = windows();
  int changes = 0;
  w.SetHandler(WindowId::Main, [&](const WindowEvent& event) {
    if (event.kind == EventKind::TextChange) ++changes;
  });
  w.OpenModeless(WindowId::Main);
  w.SetText(M::机器名框, "User019");
  w.SetText(M::机器名框, "User019");
  EXPECT_EQ(changes, 2);
}

}  // namespace netvane::testing
