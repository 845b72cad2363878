#pragma once
// Small test doubles of the process, adapter-list, clock and input-poll seams.
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/InputPoll.h"
#include "platform/ProcessStarter.h"
#include "platform/SystemAdapters.h"

namespace netvane::testing {

class FakeProcessStarter : public ProcessStarter {
 public:
  bool Start(const ProcessRequest& request,
             const std::function<void()>& whileWaiting = {}) override {
    started.push_back(request);
    if (request.wait == WaitMode::WaitForExit && whileWaiting) whileWaiting();
    return succeed;
  }
  std::vector<ProcessRequest> started;
  bool succeed = true;
};

class FakeSystemAdapters : public SystemAdapters {
 public:
  std::vector<SystemAdapter> List() override {
    ++listCalls;
    return adapters;
  }
  std::vector<SystemAdapter> adapters;
  int listCalls = 0;
};

// Time passes only when the code sleeps.
class FakeClock : public Clock {
 public:
  std::uint32_t TickCount() override { return now; }
  void Sleep(std::uint32_t milliseconds) override {
    sleeps.push_back(milliseconds);
    if (onSleep) onSleep();
    now += milliseconds;
  }
  std::string LocalTimeText() override { return "2026-12-07 08:30:00"; }
  std::function<void()> onSleep;
  std::uint32_t now = 1000;
  std::vector<std::uint32_t> sleeps;
};

// Input arrives when a test says so: queued events are delivered by the next dispatch, and a
// hook can queue events at a chosen poll, in the middle of a long action.
class FakeInputPoll : public InputPoll {
 public:
  bool InputWaiting() override {
    ++polls;
    if (onPoll) onPoll(polls);
    return !queued.empty();
  }
  void DispatchPending() override {
    while (!queued.empty()) {
      auto event = std::move(queued.front());
      queued.pop_front();
      event();
    }
  }
  void Queue(std::function<void()> event) { queued.push_back(std::move(event)); }

  std::function<void(int poll)> onPoll;
  std::deque<std::function<void()>> queued;
  int polls = 0;
};

}  // namespace netvane::testing
