// The contract suite against the in-memory doubles.
#include "tests/contract/Fixtures.h"
#include "tests/doubles/MemoryIniFile.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace netvane::testing {

struct MemorySeams : Seams {
  MemorySeams() {
    CreateKey(key = "SOFTWARE\\NetvaneContract");
    files_.MakeDirectory(directory = "C:\\contract");
  }
  Registry& registry() override { return registry_; }
  void CreateKey(const std::string& path) override {
    registry_.CreateKey(RootKey::LocalMachine, path);
  }
  IniFile& ini() override { return ini_; }
  FileSystem& files() override { return files_; }
  WindowSystem& windows() override { return windows_; }
  MemoryRegistry registry_;
  MemoryFileSystem files_;
  MemoryIniFile ini_{files_};
  MemoryWindowSystem windows_{LayoutOf};
};

INSTANTIATE_TEST_SUITE_P(Memory, SeamContract,
                         ::testing::Values([] { return std::make_unique<MemorySeams>(); }));

}  // namespace netvane::testing
