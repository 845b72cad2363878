// AdvancedWindow and EntryDialog against the in-memory windows.
#include "advanced/AdvancedWindow.h"

#include <gtest/gtest.h>

#include "app/MainWindow.h"
#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using A = AdvancedControl;
using E = EntryControl;

TEST(AddressProblemTest, OnlyFirstFieldsAreJudgedButNoFieldMayBeEmpty) {
  const std::string bad = "地址错误，不能继续。", badMask = "掩码地址错误，不能继续。";
  const std::string range = " 不是一个有效项目。请指定一个介于 1 和 223 之间的数值";
  const std::string loopback = "以 127 起头的 IP 地址无效，因为他们保留用作环回地址。请在 1 和 223 之间指定一些其他有效值。";
  const struct { const char* address; std::optional<std::string> mask; std::string problem; } rows[] = {
      {"", {}, bad}, {"...", {}, bad}, {"192.168..", {}, bad}, {".1.2.3", {}, bad},
      {"127.0.0.1", "", loopback}, {"0.1.2.3", {}, "0" + range}, {"224.0.0.1", {}, "224" + range},
      {"126.0.0.1", {}, ""}, {"223.255.255.255", {}, ""}, {"10.0.0.1", "", badMask},
      {"10.0.0.1", "255.255.255.", badMask}, {"10.0.0.1", "1.0.0.0", ""}, {"10.0.0.1", "255.0.255.0", ""},
      {"10.0.0.1", "0.255.255.255", " 0 不是一个有效项目。请指定一个介于 1 和 255 之间的数值"}};
  for (const auto& row : rows)
    EXPECT_EQ(AddressProblem(row.address, row.mask ? &*row.mask : nullptr), row.problem) << row.address;
}

class AdvancedWindowTest : public ::testing::Test, protected TestMachine {
 protected:
  SharedState state;
  MainWindow shell{state, services, ""};
  int shown = 0;
  // The main window's boxes collect to one address.
  AdvancedWindow window{state, windows, shell, [this] {
    AdapterConfig config = state.config;
    config.addressList = collected;
    return config;
  }, [this] { ++shown; }};
  OneBasedList<ListEntry> collected;

  void SetUp() override {
    collected.Append({"192.168.16.5", "255.255.255.0"});
    state.config.addressList.Append({"192.168.16.9", "255.255.255.0"});  // as the scan left it
    state.config.gatewayList.Append({"192.168.16.254", ""});  // automatic, as "0" would be
    state.config.gatewayList.Append({"192.168.16.253", "20"});
    for (const char* dns : {"1.1.1.1", "2.2.2.2", "3.3.3.3"}) state.config.dnsList.Append(dns);
    window.Open();
  }
  std::pair<bool, bool> Enabled(ControlRef a, ControlRef b) { return {windows.Enabled(a), windows.Enabled(b)}; }
};

TEST_F(AdvancedWindowTest, MoveButtonsFollowTheDnsSelectionButNotADelete) {
  EXPECT_EQ(windows.Cell(A::超级列表框1, 0, 0), "192.168.16.5");  // collected before the fill
  windows.PickPage(A::功能选择夹, 1);
  const struct { int pick; bool up, down; } rows[] = {{0, false, true}, {1, true, true}, {2, true, false}};
  for (const auto& row : rows) {
    windows.Pick(A::DNS列表框, row.pick);
    EXPECT_EQ(Enabled(A::向上按钮, A::向下按钮), std::pair(row.up, row.down)) << row.pick;
  }
  windows.Click(A::向上按钮);  // the last server one place up, and still selected
  EXPECT_EQ(windows.Item(A::DNS列表框, 1) + windows.Item(A::DNS列表框, 2), "3.3.3.32.2.2.2");
  windows.Click(A::向下按钮);
  EXPECT_EQ(windows.Item(A::DNS列表框, 1) + windows.Item(A::DNS列表框, 2), "2.2.2.23.3.3.3");
  windows.Click(A::删除按钮3);
  EXPECT_EQ(Enabled(A::向上按钮, A::向下按钮), std::pair(true, false));
  windows.Click(A::删除按钮3);  // nothing selected now, for either button
  windows.Click(A::编辑按钮3);
  EXPECT_EQ(windows.messages.size(), 2u);
  EXPECT_EQ(windows.messages.back().title + windows.messages.back().text, "Microsoft TCP/IP尚未选择一个项目。请先选一个。");
  windows.Click(A::取消按钮);  // the deletion is forgotten
  EXPECT_EQ(state.config.dnsList.Count(), 3u);
  EXPECT_EQ(shown, 0);
}

TEST_F(AdvancedWindowTest, AManualMetricBelowOneKeepsPageDnsAndOkAway) {
  EXPECT_EQ(Enabled(A::跃点框, A::跃点标签), std::pair(false, false));  // automatic, and grey
  EXPECT_EQ(windows.TextColor(A::跃点标签), kGrey);
  const struct { const char* typed; bool accepted; } rows[] = {{"", false}, {"0", false}, {"99999", true}};
  for (const auto& row : rows) {
    windows.RequestClose(WindowId::Advanced);  // the refused metrics never reach the model
    window.Open();
    windows.Click(A::跃点选择框);
    EXPECT_EQ(windows.Focused(WindowId::Advanced), static_cast<int>(A::跃点框));
    windows.Type(A::跃点框, row.typed);
    windows.PickPage(A::功能选择夹, 1);
    EXPECT_EQ(windows.Page(A::功能选择夹), row.accepted ? 1 : 0) << row.typed;
    windows.SetFocus(A::确定按钮), windows.PressEnter(WindowId::Advanced);  // as a click on it
    const int focus = row.accepted ? 0 : static_cast<int>(A::跃点框);  // a closed window has none
    EXPECT_EQ(windows.Focused(WindowId::Advanced), focus) << row.typed;
  }
  EXPECT_EQ(state.config.interfaceMetric, "9999");  // a fifth digit cannot be typed
  EXPECT_EQ(state.config.addressList.Items(), collected.Items());  // the scan's replaced only on OK
  EXPECT_EQ(state.config.dnsList.Count(), 3u);
  EXPECT_EQ(state.config.gatewayList.Items(), (std::vector<ListEntry>{{"192.168.16.254", "0"}, {"192.168.16.253", "20"}}));
  window.Open();  // the metric as it was, where it can be changed: to the least there is
  EXPECT_EQ(windows.Text(A::跃点框), "9999");
  windows.SetText(A::跃点框, "1");
  windows.PickPage(A::功能选择夹, 1);
  EXPECT_EQ(windows.Page(A::功能选择夹), 1);
  windows.PickPage(A::功能选择夹, 0);
  windows.SelectRow(A::超级列表框1, 0);
  windows.Click(A::删除按钮1);
  EXPECT_EQ(Enabled(A::编辑按钮1, A::删除按钮1), std::pair(false, false));
  windows.PickPage(A::功能选择夹, 1);
  EXPECT_EQ(windows.Page(A::功能选择夹), 0);
  EXPECT_EQ(windows.messages.back().text, "适配器需要至少一个 IP 地址，请输入一个。");
  windows.Click(A::添加按钮1);  // pre-filled with what was deleted
  EXPECT_EQ(windows.Text(E::掩码框), "255.255.255.0");
}

TEST_F(AdvancedWindowTest, OkWaitsUntilEveryListIsFilled) {
  windows.Close(WindowId::Advanced);
  input.onPoll = [&](int) { input.Queue([&] { windows.Click(A::确定按钮); }); };
  window.Open();  // 确定 clicked at every poll of the fill
  EXPECT_EQ(state.config.dnsList.Count(), 3u);
  EXPECT_EQ(state.config.gatewayList.Count(), 2u);
  EXPECT_TRUE(windows.Enabled(A::确定按钮));
}

TEST_F(AdvancedWindowTest, EntryDialogIsArrangedForItsListAndWritesStraightIntoIt) {
  const struct { A button; const char* title; E focus; int cancelLeft; } rows[] = {
      {A::添加按钮1, "TCP/IP 地址", E::地址框, 110}, {A::添加按钮2, "TCP/IP 网关地址", E::网关框, 110},
      {A::添加按钮3, "TCP/IP DNS 服务器", E::DNS框, 140}};
  for (const auto& row : rows) {
    windows.PickPage(A::功能选择夹, row.button == A::添加按钮3 ? 1 : 0);
    windows.Click(row.button);
    EXPECT_EQ(windows.Title(WindowId::Entry), row.title);
    EXPECT_EQ(windows.Focused(WindowId::Entry), static_cast<int>(row.focus));
    EXPECT_EQ(windows.Bounds(E::取消按钮).left, row.cancelLeft);
    windows.Deactivate(WindowId::Entry);  // closes it; nothing written
    EXPECT_FALSE(windows.IsOpen(WindowId::Entry));
  }
  windows.PickPage(A::功能选择夹, 0);
  windows.SelectRow(A::超级列表框2, 0);
  windows.Click(A::编辑按钮2);
  windows.Click(E::取消按钮);
  windows.SelectRow(A::超级列表框2, 1);
  int polls = 0;  // an Enter typed ahead of the edit's set-up confirms that row's own entry
  input.onPoll = [&](int) {
    if (windows.IsOpen(WindowId::Entry) && ++polls == 2) input.Queue([&] { windows.PressEnter(WindowId::Entry); });
  };
  windows.Click(A::编辑按钮2);
  input.onPoll = nullptr;
  EXPECT_EQ(windows.Cell(A::超级列表框2, 1, 0) + windows.Cell(A::超级列表框2, 1, 1), "192.168.16.25320");
  windows.Click(A::编辑按钮2);  // metric 20: manual, and the button reads "修改"
  EXPECT_EQ(windows.Text(E::添加按钮), "修改");
  windows.SetText(E::跃点框, "");
  EXPECT_FALSE(windows.Enabled(E::添加按钮));
  windows.Click(E::自动框);
  EXPECT_EQ(Enabled(E::跃点框, E::跃点标签), std::pair(false, false));
  windows.Click(E::自动框);  // and back: a metric to type, and none typed yet
  EXPECT_EQ(std::tuple(Enabled(E::跃点框, E::跃点标签), windows.TextColor(E::跃点标签),
                       windows.Enabled(E::添加按钮), windows.Focused(WindowId::Entry)),
            std::tuple(std::pair(true, true), kBlack, false, int(E::跃点框)));
  windows.Click(E::自动框);
  windows.SetText(E::网关框, "10.0.0.");  // refused; the message box does not close the dialog
  windows.Click(E::添加按钮);
  ASSERT_TRUE(windows.IsOpen(WindowId::Entry));
  windows.SelectRow(A::超级列表框2, 0);  // picked while the box was up: not the row edited
  windows.SetText(E::网关框, "10.0.0.9");
  windows.Click(E::添加按钮);
  EXPECT_FALSE(windows.IsOpen(WindowId::Entry));
  EXPECT_EQ(windows.Cell(A::超级列表框2, 1, 0), "10.0.0.9");
  EXPECT_EQ(windows.Cell(A::超级列表框2, 0, 1) + windows.Cell(A::超级列表框2, 1, 1), "自动自动");
  // A delete or a move while the box is up: the edit would then land on another entry.
  for (const auto& [page, edit, box, change] : {std::tuple(0, A::编辑按钮2, E::网关框, A::删除按钮2),
                                                 std::tuple(1, A::编辑按钮3, E::DNS框, A::向上按钮)}) {
    windows.PickPage(A::功能选择夹, page);
    windows.Pick(A::DNS列表框, 1);
    windows.Click(edit);
    windows.SetText(box, "10.0.0.");
    windows.Click(E::添加按钮);
    windows.Click(change);
    EXPECT_FALSE(windows.IsOpen(WindowId::Entry)) << page;
  }
  windows.Click(A::添加按钮3);
  windows.Click(E::添加按钮);  // refused; once its box is gone, a click elsewhere closes the dialog
  windows.Deactivate(WindowId::Entry);
  EXPECT_EQ(windows.messages.back().text, "地址错误，不能继续。");
  EXPECT_FALSE(windows.IsOpen(WindowId::Entry));
}

}  // namespace
}  // namespace netvane
