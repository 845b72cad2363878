#pragma once
// Every in-memory seam at once, wired into the Services the behaviour takes: a machine for a
// test to seed and inspect.
#include "app/Layout.h"
#include "config/Services.h"
#include "tests/doubles/Fakes.h"
#include "tests/doubles/MemoryFileSystem.h"
#include "tests/doubles/MemoryIniFile.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace netvane::testing {

struct TestMachine {
  MemoryRegistry registry;
  RegistryLayer layer{registry};
  MemoryFileSystem files;
  MemoryIniFile ini{files};
  FakeProcessStarter processes;
  FakeSystemAdapters systemAdapters;
  FakeClock clock;
  FakeInputPoll input;
  MemoryWindowSystem windows{LayoutOf};
  Services services{layer, ini, files, processes, systemAdapters, clock, input, windows};
};

}  // namespace netvane::testing
