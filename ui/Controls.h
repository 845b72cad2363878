#pragma once
// Typed control ids, one enum per window, named by the controls' resource names. The numbers
// are the Win32 control ids too, so the end-to-end driver finds a control by the same number.
namespace netvane {

enum class WindowId { Main, Advanced, Entry };

enum class MainControl : int {
  选择标签 = 1001,
  网卡选择框,
  名称标签,
  适配器标签,
  功能选择夹,
  本地连接框,
  机器名标签,
  机器名框,
  网络号标签,
  网络号框,
  MAC标签,
  MAC信息框,
  状态标签,
  提示标签,
  地址标签,
  地址框,
  掩码标签,
  掩码框,
  网关标签,
  网关框,
  首选标签,
  首选框,
  备用标签,
  备用框,
  网吧修改框,
  机器名标签2,
  机器名框2,
  机器数框,
  保存按钮,
  地址标签2,
  地址框2,
  掩码标签2,
  掩码框2,
  网关标签2,
  网关框2,
  登陆标签2,
  用户框2,
  密码框2,
  首选标签2,
  首选框2,
  备用标签2,
  备用框2,
  增位框,
  自动消块1,
  刷新按钮,
  修改按钮,
  网吧按钮,
  高级按钮,
  退出按钮,
  超级链接框1,
};

enum class AdvancedControl : int {
  功能选择夹 = 2001,
  分组框1,
  超级列表框1,
  添加按钮1,
  编辑按钮1,
  删除按钮1,
  分组框2,
  超级列表框2,
  添加按钮2,
  编辑按钮2,
  删除按钮2,
  分组框3,
  跃点选择框,
  跃点标签,
  跃点框,
  DNS标签,
  DNS列表框,
  向上按钮,
  向下按钮,
  添加按钮3,
  编辑按钮3,
  删除按钮3,
  说明框,
  确定按钮,
  取消按钮,
};

enum class EntryControl : int {
  地址标签 = 3001,
  地址框,
  掩码标签,
  掩码框,
  网关标签,
  网关框,
  DNS标签,
  DNS框,
  跃点分组框,
  自动框,
  跃点标签,
  跃点框,
  添加按钮,
  取消按钮,
};

// A control of a window: the window and the control's id.
struct ControlRef {
  WindowId window;
  int id;
  constexpr ControlRef(WindowId w, int i) : window(w), id(i) {}
  constexpr ControlRef(MainControl c) : window(WindowId::Main), id(static_cast<int>(c)) {}
  constexpr ControlRef(AdvancedControl c) : window(WindowId::Advanced), id(static_cast<int>(c)) {}
  constexpr ControlRef(EntryControl c) : window(WindowId::Entry), id(static_cast<int>(c)) {}
  friend constexpr bool operator==(ControlRef, ControlRef) = default;
};

}  // namespace netvane
