#pragma once
// The window contract suite, instantiated once per implementation of the window seam.
#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "app/Layout.h"
#include "platform/WindowSystem.h"

namespace netvane::testing {

using WindowSystemFactory = std::function<std::unique_ptr<WindowSystem>()>;

class WindowContract : public ::testing::TestWithParam<WindowSystemFactory> {
 protected:
  void SetUp() override { windows_ = GetParam()(); }
  WindowSystem& windows() { return *windows_; }
  std::unique_ptr<WindowSystem> windows_;
};

}  // namespace netvane::testing
