// The contract suites run against the in-memory doubles.
#include <gtest/gtest.h>

#include "app/Layout.h"
#include "tests/contract/Fixtures.h"
#include "tests/contract/WindowFixture.h"
#include "tests/doubles/MemoryFileSystem.h"
#include "tests/doubles/MemoryIniFile.h"
#include "tests/doubles/MemoryRegistry.h"
#include "tests/doubles/MemoryWindowSystem.h"

namespace netvane::testing {

namespace {

class MemoryRegistryFixture : public RegistryFixture {
 public:
  Registry& registry() override { return registry_; }
  std::string Base() override {
    registry_.CreateKey(RootKey::LocalMachine, "SOFTWARE\\NetvaneContract");
    return "SOFTWARE\\NetvaneContract";
  }
  void CreateKey(const std::string& path) override {
    registry_.CreateKey(RootKey::LocalMachine, path);
  }
  void Put(const std::string& path, const std::string& name, std::uint32_t type,
           const std::string& data) override {
    registry_.Put(RootKey::LocalMachine, path, name, type, data);
  }
  bool KeyExists(const std::string& path) override {
    return registry_.KeyExists(RootKey::LocalMachine, path);
  }

 private:
  MemoryRegistry registry_;
};

class MemoryFilesFixture : public FilesFixture {
 public:
  IniFile& ini() override { return ini_; }
  FileSystem& files() override { return files_; }
  std::string PathOf(const std::string& name) override {
    files_.MakeDirectory("C:\\contract");
    return "C:\\contract\\" + name;
  }
  void StoreRaw(const std::string& path, const std::string& bytes) override {
    files_.Store(path, bytes);
  }
  std::string ReadRaw(const std::string& path) override {
    const std::string* bytes = files_.Read(path);
    return bytes ? *bytes : std::string();
  }
  void MakeDirectory(const std::string& path) override { files_.MakeDirectory(path); }

 private:
  MemoryFileSystem files_;
  MemoryIniFile ini_{files_};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistryFixtureFactory(
                             [] { return std::make_unique<MemoryRegistryFixture>(); })));
INSTANTIATE_TEST_SUITE_P(Memory, WindowContract,
                         ::testing::Values(WindowSystemFactory(
                             [] { return std::make_unique<MemoryWindowSystem>(LayoutOf); })));
INSTANTIATE_TEST_SUITE_P(Memory, FilesContract,
                         ::testing::Values(FilesFixtureFactory(
                             [] { return std::make_unique<MemoryFilesFixture>(); })));

}  // namespace netvane::testing
