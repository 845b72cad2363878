// AdvancedWindow and EntryDialog against the in-memory windows.
#include "advanced/AdvancedWindow.h"

#include <gtest/gtest.h>

#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using A = AdvancedControl;
using E = EntryControl;

const std::string kRange = " 不是一个有效项目。请指定一个介于 1 和 223 之间的数值";

TEST(AddressProblemTest, OnlyFirstFieldsAreJudgedButNoFieldMayBeEmpty) {
  const std::string bad = "地址错误，不能继续。", badMask = "掩码地址错误，不能继续。";
  const std::string loopback = "以 127 起头的 IP 地址无效，因为他们保留用作环回地址。请在 1 和 223 之间指定一些其他有效值。";
  const struct { const char* address; const char* mask; std::string problem; } rows[] = {
      {"", nullptr, bad}, {"...", nullptr, bad}, {"192.168..", nullptr, bad},
      {"10...", nullptr, bad}, {".1.2.3", nullptr, bad}, {"127.0.0.1", nullptr, loopback},
      {"0.1.2.3", nullptr, "0" + kRange}, {"224.0.0.1", nullptr, "224" + kRange},
      {"126.0.0.1", nullptr, ""}, {"223.255.255.255", nullptr, ""},
      {"10.0.0.1", "", badMask}, {"10.0.0.1", "255.255.255.", badMask},
      {"10.0.0.1", "0.255.255.255", " 0 不是一个有效项目。请指定一个介于 1 和 255 之间的数值"},
      {"127.0.0.1", "", loopback}, {"10.0.0.1", "1.0.0.0", ""}, {"10.0.0.1", "255.0.255.0", ""}};
  for (const auto& row : rows) {
    const std::string mask = row.mask ? row.mask : "";
    EXPECT_EQ(AddressProblem(row.address, row.mask ? &mask : nullptr), row.problem) << row.address;
  }
}

struct QuietShell : Shell {
  void PollInput() override {}
  void SetBusy(bool) override {}
};

class AdvancedWindowTest : public ::testing::Test, protected TestMachine {
 protected:
  SharedState state;
  QuietShell shell;
  int shown = 0;
  // What the main window's boxes give when collected.
  std::vector<ListEntry> collected = {{"192.168.16.5", "255.255.255.0"}};
  AdvancedWindow window{state, windows, shell,
                        [this] {
                          state.config.addressList.Clear();
                          for (const ListEntry& entry : collected) state.config.addressList.Append(entry);
                        },
                        [this] { ++shown; }};

  void SetUp() override {
    state.config.gatewayList.Append({"192.168.16.254", "0"});
    state.config.gatewayList.Append({"192.168.16.253", "20"});
    for (const char* dns : {"1.1.1.1", "2.2.2.2", "3.3.3.3"}) state.config.dnsList.Append(dns);
    window.Open();
  }
  std::vector<bool> Usable(std::initializer_list<ControlRef> controls) {
    std::vector<bool> usable;
    for (ControlRef c : controls) usable.push_back(windows.Usable(c));
    return usable;
  }
  std::string LastMessage() { return windows.messages.empty() ? "" : windows.messages.back().text; }
};

TEST_F(AdvancedWindowTest, OpensOnTheCollectedModelWithAutomaticMetricsShownAsAutomatic) {
  EXPECT_EQ(windows.Cell(A::超级列表框1, 0, 1), "255.255.255.0");  // collected before the fill
  EXPECT_EQ(windows.Cell(A::超级列表框2, 0, 1), "自动");
  EXPECT_EQ(windows.Cell(A::超级列表框2, 1, 1), "20");
  EXPECT_TRUE(windows.Checked(A::跃点选择框));
  EXPECT_EQ(Usable({A::跃点框, A::跃点标签}), (std::vector<bool>{false, false}));
  EXPECT_EQ(windows.TextColor(A::跃点标签), kGrey);
  windows.Click(A::取消按钮);
  collected.clear();
  state.config.interfaceMetric = "25";
  window.Open();  // no address: the edit and delete buttons of that list are off
  EXPECT_EQ(Usable({A::编辑按钮1, A::删除按钮1, A::编辑按钮2, A::跃点框}),
            (std::vector<bool>{false, false, true, true}));
  EXPECT_EQ(windows.Text(A::跃点框), "25");
}

TEST_F(AdvancedWindowTest, MoveButtonsFollowTheDnsSelectionButNotADelete) {
  windows.PickPage(A::功能选择夹, 1);
  const struct { int pick; bool up, down; } rows[] = {{0, false, true}, {1, true, true}, {2, true, false}};
  for (const auto& row : rows) {
    windows.Pick(A::DNS列表框, row.pick);
    EXPECT_EQ(Usable({A::向上按钮, A::向下按钮}), (std::vector<bool>{row.up, row.down})) << row.pick;
  }
  windows.Pick(A::DNS列表框, 1);
  windows.Click(A::向上按钮);
  EXPECT_EQ(windows.Item(A::DNS列表框, 0), "2.2.2.2");
  EXPECT_EQ(windows.Selection(A::DNS列表框), 0);
  EXPECT_EQ(Usable({A::向上按钮, A::向下按钮}), (std::vector<bool>{false, true}));
  windows.Click(A::删除按钮3);
  EXPECT_EQ(Usable({A::向上按钮, A::向下按钮}), (std::vector<bool>{false, true}));
  windows.Click(A::编辑按钮3);
  EXPECT_EQ(LastMessage(), "尚未选择一个项目。请先选一个。");
  EXPECT_EQ(windows.messages.back().title, "Microsoft TCP/IP");
}

TEST_F(AdvancedWindowTest, AManualMetricMustBeOneToNineThousandNineHundredNinetyNine) {
  const struct { const char* typed; bool accepted; } rows[] = {{"", false}, {"0", false}, {"1", true}, {"99999", true}};
  for (const auto& row : rows) {
    windows.RequestClose(WindowId::Advanced);
    state.config.interfaceMetric = "";
    window.Open();
    windows.Click(A::跃点选择框);
    windows.Type(A::跃点框, row.typed);
    windows.PickPage(A::功能选择夹, 1);
    EXPECT_EQ(windows.Page(A::功能选择夹), row.accepted ? 1 : 0) << row.typed;
    windows.Click(A::确定按钮);
    EXPECT_EQ(windows.IsOpen(WindowId::Advanced), !row.accepted) << row.typed;
    const int focus = row.accepted ? 0 : static_cast<int>(A::跃点框);  // a closed window has none
    EXPECT_EQ(windows.Focused(WindowId::Advanced), focus) << row.typed;
  }
  EXPECT_EQ(state.config.interfaceMetric, "9999");  // a fifth digit cannot be typed
  windows.messages.clear();
  window.Open();
  windows.Click(A::删除按钮1);  // nothing selected
  windows.SelectRow(A::超级列表框1, 0);
  windows.Click(A::删除按钮1);
  windows.PickPage(A::功能选择夹, 1);
  EXPECT_EQ(windows.Page(A::功能选择夹), 0);
  EXPECT_EQ(LastMessage(), "适配器需要至少一个 IP 地址，请输入一个。");
  windows.Click(A::添加按钮1);  // pre-filled with what was deleted
  EXPECT_EQ(windows.Text(E::掩码框), "255.255.255.0");
}

TEST_F(AdvancedWindowTest, OkWritesTheListsBackAndCancelLeavesTheModelAlone) {
  const AdapterConfig before = state.config;
  windows.PickPage(A::功能选择夹, 1);
  windows.Pick(A::DNS列表框, 2);
  windows.Click(A::向上按钮);
  windows.RequestClose(WindowId::Advanced);
  EXPECT_EQ(state.config.dnsList, before.dnsList);
  EXPECT_EQ(shown, 0);
  window.Open();
  windows.PickPage(A::功能选择夹, 1);
  windows.Pick(A::DNS列表框, 2);
  windows.Click(A::向上按钮);
  windows.Click(A::确定按钮);
  EXPECT_EQ(state.config.dnsList.Items(), (std::vector<std::string>{"1.1.1.1", "3.3.3.3", "2.2.2.2"}));
  EXPECT_EQ(state.config.gatewayList.Items(), before.gatewayList.Items());  // "自动" back to "0"
  EXPECT_EQ(state.config.interfaceMetric, "");
  EXPECT_EQ(shown, 1);
}

TEST_F(AdvancedWindowTest, EntryDialogIsArrangedForItsListAndWritesStraightIntoIt) {
  const struct { A button; const char* title; int width; E focus; int cancelLeft; } rows[] = {
      {A::添加按钮1, "TCP/IP 地址", 210, E::地址框, 110},
      {A::添加按钮2, "TCP/IP 网关地址", 200, E::网关框, 110},
      {A::添加按钮3, "TCP/IP DNS 服务器", 245, E::DNS框, 140}};
  for (const auto& row : rows) {
    windows.PickPage(A::功能选择夹, row.button == A::添加按钮3 ? 1 : 0);
    windows.Click(row.button);
    EXPECT_EQ(windows.Title(WindowId::Entry), row.title);
    EXPECT_EQ(windows.Focused(WindowId::Entry), static_cast<int>(row.focus));
    EXPECT_EQ(windows.Bounds(E::取消按钮).left, row.cancelLeft);
    EXPECT_TRUE(windows.Visible(row.focus));
    windows.Deactivate(WindowId::Entry);  // closes it; nothing written
    EXPECT_FALSE(windows.IsOpen(WindowId::Entry));
  }
  EXPECT_EQ(windows.RowCount(A::超级列表框1), 1);
  windows.PickPage(A::功能选择夹, 0);
  windows.SelectRow(A::超级列表框2, 1);
  windows.Click(A::编辑按钮2);  // metric 20: manual, and the button reads "修改"
  EXPECT_EQ(windows.Text(E::添加按钮), "修改");
  EXPECT_FALSE(windows.Checked(E::自动框));
  windows.SetText(E::跃点框, "");
  EXPECT_FALSE(windows.Enabled(E::添加按钮));
  windows.Click(E::自动框);
  windows.SetText(E::网关框, "10.0.0.");  // a field left empty: refused, and it stays open
  windows.Click(E::添加按钮);
  EXPECT_EQ(LastMessage(), "地址错误，不能继续。");
  EXPECT_EQ(windows.messages.back().title, "错误");
  ASSERT_TRUE(windows.IsOpen(WindowId::Entry));
  EXPECT_EQ(windows.Text(E::网关框), "10.0.0.");
  windows.SetText(E::网关框, "10.0.0.9");
  windows.Click(E::添加按钮);
  EXPECT_FALSE(windows.IsOpen(WindowId::Entry));
  EXPECT_EQ(windows.Cell(A::超级列表框2, 1, 0), "10.0.0.9");
  EXPECT_EQ(windows.Cell(A::超级列表框2, 1, 1), "自动");
}

}  // namespace
}  // namespace netvane
