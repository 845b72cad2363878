#pragma once
// One contract suite over every seam, run against the in-memory doubles and the Win32 ones.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "app/Layout.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/WindowSystem.h"

namespace netvane::testing {

using namespace std::string_literals;  // byte strings with NULs inside: "a\0b"s

struct Seams {
  virtual ~Seams() = default;
  virtual Registry& registry() = 0;
  virtual void CreateKey(const std::string& path) = 0;  // under HKLM, with its parents
  virtual IniFile& ini() = 0;
  virtual FileSystem& files() = 0;
  virtual WindowSystem& windows() = 0;
  std::string key, directory;  // existing and empty, for this test alone
};

class SeamContract : public ::testing::TestWithParam<std::function<std::unique_ptr<Seams>()>> {
 protected:
  void SetUp() override { seams = GetParam()(); }
  std::unique_ptr<Seams> seams;
};

}  // namespace netvane::testing
