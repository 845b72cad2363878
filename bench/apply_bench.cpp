// The apply path against Wine's real registry, without the 3.5 s pause (the clock double makes
// it free) and without the adapter restart (the process double starts nothing). Prints the
// medians in milliseconds of the whole apply (its closing refresh included) and of a refresh.
//   apply_bench.exe RUNS
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "adapters/AdapterDiscovery.h"
#include "app/Layout.h"
#include "apply/AdapterApply.h"
#include "platform/win32/Win32Platform.h"
#include "tests/doubles/Fakes.h"
#include "tests/doubles/MemoryFileSystem.h"
#include "tests/doubles/MemoryIniFile.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace {

using namespace netvane;

double Now() {
  LARGE_INTEGER count, frequency;
  QueryPerformanceCounter(&count);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

struct NoShell : Shell {
  void PollInput() override {}
  void SetBusy(bool) override {}
};

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 9;
  win32::Win32Registry registry;
  RegistryLayer layer(registry);
  testing::MemoryFileSystem files;
  testing::MemoryIniFile ini(files);
  testing::FakeProcessStarter processes;
  win32::Win32SystemAdapters systemAdapters;
  testing::FakeClock clock;
  testing::FakeInputPoll input;
  testing::MemoryWindowSystem windows(LayoutOf);
  Services services{layer, ini, files, processes, systemAdapters, clock, input, windows};
  SharedState state;
  NoShell shell;
  MachineIdentity identity(layer);
  AdapterDiscovery discovery(state, services, shell, identity);
  AdapterApply apply(state, services, shell, identity, discovery);
  windows.OpenModeless(WindowId::Main);

  // What the status label says when the pause starts: whether every write took.
  std::string outcome;
  clock.onSleep = [&] {
    if (outcome.empty()) outcome = windows.Text(MainControl::提示标签);
  };
  std::vector<double> applies, scans;
  for (int i = 0; i < runs; ++i) {
    double start = Now();
    discovery.EnumerateAdapters();
    scans.push_back(Now() - start);
    windows.SetText(MainControl::机器名框, "BENCH-PC");
    outcome.clear();
    start = Now();
    apply.ApplyAdapterSettings();
    applies.push_back(Now() - start);
    if (outcome != kApplied || !windows.messages.empty()) {
      std::fprintf(stderr, "the apply did not go through\n");
      return 1;
    }
  }
  std::printf("apply %.1f\nscan %.1f\n", Median(applies), Median(scans));
  return 0;
}
