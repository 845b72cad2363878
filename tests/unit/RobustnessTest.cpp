// The whole program against the in-memory machine under stress: every registry key the apply
// writes refusing in turn, and random operator input arriving in the middle of long actions.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "app/Application.h"
#include "tests/doubles/TestMachine.h"

namespace netvane {
namespace {

using namespace netvane::testing;
using C = MainControl;

class RobustnessTest : public ::testing::Test, protected TestMachine {
 protected:
  void SetUp() override {  // three adapters, each with addresses of its own: 10.0.n.x
    for (int n = 0; n < 3; ++n) {
      const std::string net = "10.0." + std::to_string(n) + ".";
      SeedAdapter(n, "nic" + std::to_string(n));
      SeedStatic(n, {net + "1", net + "2"}, {"255.0.0.0", "255.0.0.0"}, {}, {}, net + "53");
    }
    SeedIdentityKeys();
    windows.onModal = [this](WindowId window) { windows.Close(window); };
    app.Start();
  }
  // The selector, the catalogue and the lists describe one scan and one adapter.
  void ExpectConsistent(const char* when) {
    const SharedState& state = app.state();
    const int items = windows.ItemCount(C::网卡选择框);
    if (state.adapters.Empty()) return;
    ASSERT_EQ(static_cast<std::size_t>(items), state.adapters.Count()) << when;
    for (int i = 0; i < items; ++i) ASSERT_EQ(windows.Item(C::网卡选择框, i), state.adapters.At(i + 1).driverDescription) << when;
    const std::size_t selected = state.config.selectedAdapter;
    ASSERT_LE(selected, state.adapters.Count()) << when;
    if (selected == 0 || state.config.addressList.Empty() || state.config.dnsList.Empty()) return;
    const std::string net = state.config.dnsList.At(1).substr(0, 7);  // "10.0.n."
    EXPECT_EQ(state.adapters.At(selected).nameServers.substr(0, 7), net) << when;  // the lists' adapter
    for (const ListEntry& entry : state.config.addressList) EXPECT_EQ(entry.primary.substr(0, 7), net) << when;
  }
  Application app{services, "MZ"};
};

TEST_F(RobustnessTest, EveryRefusedKeyShowsAFailureAndTheDisplayShowsTheRegistry) {
  int round = 0;
  const auto modify = [&] {  // a new name and address each time, so that every value changes
    ++round;
    windows.SetText(C::机器名框, "PC" + std::to_string(round));
    windows.SetText(C::地址框, "10.0.0." + std::to_string(100 + round));
    windows.Click(C::修改按钮);
  };
  modify();
  std::set<std::string> keys;
  for (const auto& write : registry.Writes()) keys.insert(write.substr(0, write.rfind('\\')));
  ASSERT_GE(keys.size(), 5u);
  for (const std::string& key : keys) {
    registry.RefuseWritesUnder(HKLM, key);
    std::string status;
    clock.onSleep = [&] { status = windows.Text(C::提示标签); };
    modify();
    EXPECT_EQ(status, kApplyFailed) << key;
    const std::string stored = layer.ReadMultiString(TcpipKey(0), "IPAddress");
    EXPECT_EQ(windows.Text(C::地址框), stored.substr(0, stored.find('\r'))) << key;
    EXPECT_TRUE(windows.Enabled(C::修改按钮)) << key;
  }
}

TEST_F(RobustnessTest, AFailedProcessStartOrNoSystemDirectoryIsAFailureAndPutsNoToolAnywhere) {
  std::string status;
  clock.onSleep = [&] { status = windows.Text(C::提示标签); };
  processes.succeed = false;
  windows.Click(C::修改按钮);
  EXPECT_EQ(status, kApplyFailed);
  processes = FakeProcessStarter{};
  files.systemDirectory = "";
  files.writeCalls = 0;
  app.mainWindow().Initialise();  // no "\devcon.exe" in the root of the drive
  EXPECT_EQ(files.writeCalls, 0);
  windows.Click(C::修改按钮);
  EXPECT_EQ(status, kApplyFailed);
  EXPECT_TRUE(processes.started.empty());
}

TEST_F(RobustnessTest, RandomInputInsideLongActionsNeverMixesScansOrAdapters) {
  std::mt19937 random(20261207);
  int events = 0;
  const std::function<void()> actions[] = {
      [&] { windows.Click(C::刷新按钮); }, [&] { windows.Click(C::修改按钮); },
      [&] { windows.Click(C::高级按钮); }, [&] { windows.PressEnter(WindowId::Main); },
      [&] { windows.Pick(C::网卡选择框, static_cast<int>(random() % 3)); },
  };
  input.onPoll = [&](int) {
    ExpectConsistent("at a poll");
    if (events < 3000 && random() % 2 == 0) {
      ++events;
      input.Queue(actions[random() % std::size(actions)]);
    }
  };
  for (int round = 0; round < 200 && events < 3000; ++round) actions[round % 5]();
  input.onPoll = nullptr;
  input.queued.clear();
  ExpectConsistent("at the end");
  EXPECT_GE(events, 1000);
  for (C button : {C::网吧按钮, C::修改按钮, C::刷新按钮, C::高级按钮}) EXPECT_TRUE(windows.Enabled(button));
  EXPECT_EQ(registry.OpenKeyCount(), 0);  // every key opened on the way was closed again
}

}  // namespace
}  // namespace netvane
