#include "app/Layout.h"

#include <utility>

namespace netvane {
namespace {

using K = ControlKind;

template <typename Id>
ControlLayout Row(Id id, const char* name, K kind, std::string caption, int container, int page,
                  Rect bounds) {
  ControlLayout row;
  row.id = static_cast<int>(id);
  row.name = name;
  row.kind = kind;
  row.caption = std::move(caption);
  row.container = container;
  row.page = page;
  row.bounds = bounds;
  return row;
}

ControlLayout&& Colour(ControlLayout&& row, Rgb text) {
  row.textColor = text;
  return std::move(row);
}

ControlLayout&& Narrow(ControlLayout&& row) {
  row.font = FontKind::Narrow;
  return std::move(row);
}

ControlLayout&& Flags(ControlLayout&& row, unsigned flags) {
  row.flags |= flags;
  return std::move(row);
}

WindowLayout BuildMain() {
  using C = MainControl;
  const int window = 0;
  const int tab = static_cast<int>(C::功能选择夹);
  const int local = static_cast<int>(C::本地连接框);
  const int cafe = static_cast<int>(C::网吧修改框);
  WindowLayout w;
  w.id = WindowId::Main;
  w.caption = "Netvane V1.0";
  w.width = 398;
  w.height = 290;
  auto& c = w.controls;
  c.push_back(Row(C::选择标签, "选择标签", K::Label, "网卡名称：", window, -1, {15, 10, 60, 20}));
  c.push_back(Row(C::网卡选择框, "网卡选择框", K::DropDownList, "", window, -1, {80, 10, 300, 20}));
  c.push_back(Row(C::名称标签, "名称标签", K::Label, "网卡编号：", window, -1, {15, 35, 60, 20}));
  {
    auto row = Row(C::适配器标签, "适配器标签", K::Label, "", window, -1, {80, 35, 300, 20});
    row.textColor = Rgb{255, 255, 255};
    row.backColor = Rgb{96, 96, 96};
    c.push_back(row);
  }
  {
    auto row = Row(C::功能选择夹, "功能选择夹", K::TabControl, "", window, -1, {5, 55, 380, 161});
    row.pages = {"", ""};
    row.flags = flag::kNoTabHeader;
    c.push_back(row);
  }
  c.push_back(Colour(Row(C::本地连接框, "本地连接框", K::GroupBox, "本地连接", tab, 0, {10, 5, 365, 140}), kGreen));
  c.push_back(Row(C::机器名标签, "机器名标签", K::Label, "计算机名：", local, -1, {5, 15, 60, 20}));
  c.push_back(Colour(Row(C::机器名框, "机器名框", K::Edit, "", local, -1, {70, 15, 105, 20}), kBlue));
  c.push_back(Row(C::网络号标签, "网络号标签", K::Label, "网 络 号：", local, -1, {5, 40, 60, 20}));
  c.push_back(Colour(Row(C::网络号框, "网络号框", K::Edit, "", local, -1, {70, 40, 105, 20}), kBlue));
  c.push_back(Row(C::MAC标签, "MAC标签", K::Label, "网卡 MAC：", local, -1, {5, 65, 60, 20}));
  c.push_back(Narrow(Flags(Colour(Row(C::MAC信息框, "MAC信息框", K::Edit, "", local, -1, {70, 65, 105, 20}),
                                  Rgb{88, 48, 224}),
                           flag::kReadOnly)));
  c.push_back(Row(C::状态标签, "状态标签", K::Label, "修改状态：", local, -1, {5, 90, 60, 20}));
  c.push_back(Colour(Row(C::提示标签, "提示标签", K::Label, "", local, -1, {70, 90, 105, 20}), kRed));
  c.push_back(Row(C::地址标签, "地址标签", K::Label, "ＩＰ地址：", local, -1, {190, 15, 60, 20}));
  c.push_back(Narrow(Row(C::地址框, "地址框", K::IpAddress, "", local, -1, {255, 15, 100, 18})));
  c.push_back(Row(C::掩码标签, "掩码标签", K::Label, "子网掩码：", local, -1, {190, 40, 60, 20}));
  c.push_back(Narrow(Row(C::掩码框, "掩码框", K::IpAddress, "", local, -1, {255, 40, 100, 18})));
  c.push_back(Row(C::网关标签, "网关标签", K::Label, "网卡网关：", local, -1, {190, 65, 60, 20}));
  c.push_back(Narrow(Row(C::网关框, "网关框", K::IpAddress, "", local, -1, {255, 65, 100, 18})));
  c.push_back(Row(C::首选标签, "首选标签", K::Label, "首选 DNS：", local, -1, {190, 90, 60, 20}));
  c.push_back(Narrow(Row(C::首选框, "首选框", K::IpAddress, "", local, -1, {255, 90, 100, 18})));
  c.push_back(Row(C::备用标签, "备用标签", K::Label, "备用 DNS：", local, -1, {190, 115, 60, 20}));
  c.push_back(Narrow(Row(C::备用框, "备用框", K::IpAddress, "", local, -1, {255, 115, 100, 18})));
  c.push_back(Colour(Row(C::网吧修改框, "网吧修改框", K::GroupBox, "网吧修改", tab, 1, {10, 5, 365, 140}), kGreen));
  c.push_back(Row(C::机器名标签2, "机器名标签2", K::Label, "计算机名：", cafe, -1, {5, 15, 60, 20}));
  c.push_back(Row(C::机器名框2, "机器名框2", K::Edit, "", cafe, -1, {70, 15, 60, 20}));
  c.push_back(Flags(Colour(Row(C::机器数框, "机器数框", K::Edit, "", cafe, -1, {135, 15, 80, 20}), kGreen),
                    flag::kIntegerOnly));
  c.push_back(Row(C::保存按钮, "保存按钮", K::Button, "保存配置", cafe, -1, {280, 15, 70, 24}));
  c.push_back(Row(C::地址标签2, "地址标签2", K::Label, "ＩＰ地址：", cafe, -1, {5, 40, 60, 20}));
  c.push_back(Row(C::地址框2, "地址框2", K::Edit, "", cafe, -1, {70, 40, 105, 20}));
  c.push_back(Row(C::掩码标签2, "掩码标签2", K::Label, "子网掩码：", cafe, -1, {5, 65, 60, 20}));
  c.push_back(Row(C::掩码框2, "掩码框2", K::Edit, "", cafe, -1, {70, 65, 105, 20}));
  c.push_back(Row(C::网关标签2, "网关标签2", K::Label, "网卡网关：", cafe, -1, {5, 90, 60, 20}));
  c.push_back(Row(C::网关框2, "网关框2", K::Edit, "", cafe, -1, {70, 90, 100, 20}));
  c.push_back(Row(C::登陆标签2, "登陆标签2", K::Label, "自动登陆：", cafe, -1, {5, 114, 60, 20}));
  c.push_back(Row(C::用户框2, "用户框2", K::Edit, "", cafe, -1, {70, 114, 60, 20}));
  c.push_back(Flags(Row(C::密码框2, "密码框2", K::Edit, "", cafe, -1, {135, 114, 80, 20}), flag::kPassword));
  c.push_back(Row(C::首选标签2, "首选标签2", K::Label, "首选 DNS：", cafe, -1, {190, 65, 60, 20}));
  c.push_back(Row(C::首选框2, "首选框2", K::Edit, "", cafe, -1, {255, 65, 100, 20}));
  c.push_back(Row(C::备用标签2, "备用标签2", K::Label, "备用 DNS：", cafe, -1, {190, 90, 60, 20}));
  c.push_back(Row(C::备用框2, "备用框2", K::Edit, "", cafe, -1, {255, 90, 100, 20}));
  c.push_back(Row(C::增位框, "增位框", K::CheckBox, "IP 尾数加 10", cafe, -1, {255, 113, 100, 20}));
  {
    auto row = Row(C::自动消块1, "自动消块1", K::CheckBox, "设置Lumo网址为首页", window, -1, {22, 174, 138, 22});
    row.flags = flag::kChecked | flag::kWithFirstPage;
    row.font = FontKind::Song9;
    c.push_back(row);
  }
  c.push_back(Row(C::刷新按钮, "刷新按钮", K::Button, "刷新", window, -1, {28, 205, 56, 24}));
  c.push_back(Row(C::修改按钮, "修改按钮", K::Button, "修改", window, -1, {95, 205, 56, 24}));
  c.push_back(Flags(Row(C::网吧按钮, "网吧按钮", K::Button, "网吧", window, -1, {170, 205, 56, 24}),
                    flag::kDefaultButton));
  c.push_back(Row(C::高级按钮, "高级按钮", K::Button, "高级", window, -1, {245, 205, 56, 24}));
  c.push_back(Row(C::退出按钮, "退出按钮", K::Button, "退出", window, -1, {320, 205, 56, 24}));
  {
    auto row = Row(C::超级链接框1, "超级链接框1", K::Hyperlink,
                   "软件使用过程中发现任何问题 ===> 请点击这里获得帮助", window, -1, {7, 236, 380, 16});
    row.font = FontKind::Song9;
    row.target = kHelpPageUrl;
    c.push_back(row);
  }
  for (C id : {C::网吧按钮, C::网卡选择框, C::自动消块1, C::机器名框, C::地址框, C::掩码框, C::网关框,
               C::首选框, C::备用框, C::网络号框, C::机器数框, C::机器名框2, C::地址框2, C::掩码框2,
               C::网关框2, C::用户框2, C::密码框2, C::首选框2, C::备用框2, C::增位框, C::保存按钮,
               C::刷新按钮, C::修改按钮, C::高级按钮, C::退出按钮}) {
    w.tabOrder.push_back(static_cast<int>(id));
  }
  return w;
}

constexpr const char* kExplanation =
    "说明：\r\n"
    "本程序可以修改一块或多块网卡的设置：一个或多个 IP 地址和网关、多个 DNS 服务器及其使用顺序、"
    "网卡跃点数和网关跃点数；只检测真正存在的 PCI 网卡；并提供网吧快速修改模式。\r\n"
    "\r\n"
    "备注：\r\n"
    "网吧快速修改：打开程序→设置好网吧修改的参数→放在客户机上→打开程序→回车→输入机器号（如：019）→回车→修改完毕！";

WindowLayout BuildAdvanced() {
  using C = AdvancedControl;
  const int window = 0;
  const int tab = static_cast<int>(C::功能选择夹);
  const int group1 = static_cast<int>(C::分组框1);
  const int group2 = static_cast<int>(C::分组框2);
  const int group3 = static_cast<int>(C::分组框3);
  WindowLayout w;
  w.id = WindowId::Advanced;
  w.caption = "高级 TCP/IP 设置";
  w.width = 385;
  w.height = 485;
  auto& c = w.controls;
  {
    auto row = Row(C::功能选择夹, "功能选择夹", K::TabControl, "", window, -1, {5, 5, 368, 408});
    row.pages = {"IP 设置", "DNS "};
    row.font = FontKind::Song9;
    c.push_back(row);
  }
  c.push_back(Colour(Row(C::分组框1, "分组框1", K::GroupBox, "IP地址", tab, 0, {10, 30, 350, 155}), kBlue));
  {
    auto row = Row(C::超级列表框1, "超级列表框1", K::ListView, "", group1, -1, {10, 15, 330, 100});
    row.columns = {{"IP 地址", 155}, {"子网掩码", 155}};
    c.push_back(row);
  }
  c.push_back(Row(C::添加按钮1, "添加按钮1", K::Button, "添加", group1, -1, {130, 125, 56, 24}));
  c.push_back(Row(C::编辑按钮1, "编辑按钮1", K::Button, "编辑", group1, -1, {205, 125, 56, 24}));
  c.push_back(Row(C::删除按钮1, "删除按钮1", K::Button, "删除", group1, -1, {280, 125, 56, 24}));
  c.push_back(Colour(Row(C::分组框2, "分组框2", K::GroupBox, "默认网关", tab, 0, {10, 190, 350, 155}), kBlue));
  {
    auto row = Row(C::超级列表框2, "超级列表框2", K::ListView, "", group2, -1, {10, 15, 330, 100});
    row.columns = {{"网关", 155}, {"跃点数", 155}};
    c.push_back(row);
  }
  c.push_back(Row(C::添加按钮2, "添加按钮2", K::Button, "添加", group2, -1, {130, 125, 56, 24}));
  c.push_back(Row(C::编辑按钮2, "编辑按钮2", K::Button, "编辑", group2, -1, {205, 125, 56, 24}));
  c.push_back(Row(C::删除按钮2, "删除按钮2", K::Button, "删除", group2, -1, {280, 125, 56, 24}));
  c.push_back(Colour(Row(C::分组框3, "分组框3", K::GroupBox, "跃点计数", tab, 0, {10, 350, 350, 50}), kBlue));
  c.push_back(Colour(Row(C::跃点选择框, "跃点选择框", K::CheckBox, "自动跃点计数", group3, -1, {20, 20, 100, 20}), kBlue));
  c.push_back(Row(C::跃点标签, "跃点标签", K::Label, "接口跃点数：", group3, -1, {135, 20, 80, 20}));
  {
    auto row = Row(C::跃点框, "跃点框", K::Edit, "", group3, -1, {225, 20, 100, 20});
    row.flags = flag::kIntegerOnly;
    row.maxLength = 4;
    c.push_back(row);
  }
  c.push_back(Row(C::DNS标签, "DNS标签", K::Label, "DNS 服务器地址 (按使用顺序排列) ：", tab, 1, {10, 30, 305, 24}));
  c.push_back(Row(C::DNS列表框, "DNS列表框", K::ListBox, "", tab, 1, {10, 60, 304, 104}));
  {
    auto up = Row(C::向上按钮, "向上按钮", K::ImageButton, "", tab, 1, {325, 65, 27, 26});
    up.image = ImageKind::ArrowUp;
    c.push_back(up);
    auto down = Row(C::向下按钮, "向下按钮", K::ImageButton, "", tab, 1, {325, 120, 27, 26});
    down.image = ImageKind::ArrowDown;
    c.push_back(down);
  }
  c.push_back(Row(C::添加按钮3, "添加按钮3", K::Button, "添加", tab, 1, {105, 175, 56, 24}));
  c.push_back(Row(C::编辑按钮3, "编辑按钮3", K::Button, "编辑", tab, 1, {180, 175, 56, 24}));
  c.push_back(Row(C::删除按钮3, "删除按钮3", K::Button, "删除", tab, 1, {255, 175, 56, 24}));
  c.push_back(Flags(Colour(Row(C::说明框, "说明框", K::Edit, kExplanation, tab, 1, {10, 210, 345, 180}), kBlue),
                    flag::kMultiLine | flag::kReadOnly));
  c.push_back(Row(C::确定按钮, "确定按钮", K::Button, "确 定", window, -1, {200, 420, 65, 25}));
  c.push_back(Row(C::取消按钮, "取消按钮", K::Button, "取 消", window, -1, {300, 420, 60, 25}));
  // The tab control comes last: it lies beneath the controls of its pages.
  for (C id : {C::超级列表框1, C::添加按钮1, C::编辑按钮1, C::删除按钮1, C::超级列表框2, C::添加按钮2,
               C::编辑按钮2, C::删除按钮2, C::跃点选择框, C::跃点框, C::DNS列表框, C::向上按钮,
               C::向下按钮, C::添加按钮3, C::编辑按钮3, C::删除按钮3, C::说明框, C::确定按钮,
               C::取消按钮, C::功能选择夹}) {
    w.tabOrder.push_back(static_cast<int>(id));
  }
  return w;
}

WindowLayout BuildEntry() {
  using C = EntryControl;
  const int window = 0;
  const int group = static_cast<int>(C::跃点分组框);
  WindowLayout w;
  w.id = WindowId::Entry;
  w.caption = "数据处理";
  w.width = 245;
  w.height = 165;
  auto& c = w.controls;
  auto hidden = [](ControlLayout row) { return Flags(std::move(row), flag::kHidden); };
  c.push_back(hidden(Row(C::地址标签, "地址标签", K::Label, "I P 地址：", window, -1, {15, 15, 60, 20})));
  c.push_back(hidden(Narrow(Row(C::地址框, "地址框", K::IpAddress, "", window, -1, {85, 15, 100, 20}))));
  c.push_back(hidden(Row(C::掩码标签, "掩码标签", K::Label, "子网掩码：", window, -1, {15, 45, 60, 20})));
  c.push_back(hidden(Narrow(Row(C::掩码框, "掩码框", K::IpAddress, "", window, -1, {85, 45, 100, 20}))));
  c.push_back(hidden(Row(C::网关标签, "网关标签", K::Label, "网关：", window, -1, {15, 15, 40, 20})));
  c.push_back(hidden(Narrow(Row(C::网关框, "网关框", K::IpAddress, "", window, -1, {65, 15, 115, 20}))));
  c.push_back(hidden(Row(C::DNS标签, "DNS标签", K::Label, "DNS 服务器：", window, -1, {15, 15, 80, 20})));
  c.push_back(hidden(Narrow(Row(C::DNS框, "DNS框", K::IpAddress, "", window, -1, {105, 15, 120, 20}))));
  c.push_back(hidden(Row(C::跃点分组框, "跃点分组框", K::GroupBox, "跃点数", window, -1, {15, 45, 168, 45})));
  c.push_back(hidden(Row(C::自动框, "自动框", K::CheckBox, "自动", group, -1, {15, 15, 45, 20})));
  c.push_back(hidden(Row(C::跃点标签, "跃点标签", K::Label, "跃点", group, -1, {65, 15, 30, 20})));
  {
    auto row = hidden(Row(C::跃点框, "跃点框", K::Edit, "", group, -1, {100, 15, 50, 20}));
    row.flags |= flag::kIntegerOnly;
    row.maxLength = 4;
    c.push_back(row);
  }
  c.push_back(Row(C::添加按钮, "添加按钮", K::Button, "添加", window, -1, {35, 80, 56, 24}));
  c.push_back(Row(C::取消按钮, "取消按钮", K::Button, "取消", window, -1, {110, 80, 56, 24}));
  for (C id : {C::地址框, C::掩码框, C::网关框, C::DNS框, C::自动框, C::跃点框, C::添加按钮, C::取消按钮}) {
    w.tabOrder.push_back(static_cast<int>(id));
  }
  return w;
}

}  // namespace

const WindowLayout& LayoutOf(WindowId window) {
  static const WindowLayout main = BuildMain();
  static const WindowLayout advanced = BuildAdvanced();
  static const WindowLayout entry = BuildEntry();
  switch (window) {
    case WindowId::Main: return main;
    case WindowId::Advanced: return advanced;
    case WindowId::Entry: break;
  }
  return entry;
}

}  // namespace netvane
