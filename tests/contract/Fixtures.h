#pragma once
// What a contract suite needs from one implementation of a seam: the seam itself and a way to
// lay down raw data behind its back. One fixture per implementation (in-memory, Win32).
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"

namespace netvane::testing {

class RegistryFixture {
 public:
  virtual ~RegistryFixture() = default;
  virtual Registry& registry() = 0;
  // A fresh, empty key under HKEY_LOCAL_MACHINE that belongs to this test alone.
  virtual std::string Base() = 0;
  virtual void CreateKey(const std::string& path) = 0;
  virtual void Put(const std::string& path, const std::string& name, std::uint32_t type,
                   const std::string& data) = 0;
  virtual bool KeyExists(const std::string& path) = 0;
};

class FilesFixture {
 public:
  virtual ~FilesFixture() = default;
  virtual IniFile& ini() = 0;
  virtual FileSystem& files() = 0;
  // A path in a fresh, empty directory that belongs to this test alone.
  virtual std::string PathOf(const std::string& name) = 0;
  virtual void StoreRaw(const std::string& path, const std::string& bytes) = 0;
  virtual std::string ReadRaw(const std::string& path) = 0;
  virtual void MakeDirectory(const std::string& path) = 0;
};

using RegistryFixtureFactory = std::function<std::unique_ptr<RegistryFixture>()>;
using FilesFixtureFactory = std::function<std::unique_ptr<FilesFixture>()>;

// The suites, instantiated once per implementation.
class RegistryContract : public ::testing::TestWithParam<RegistryFixtureFactory> {
 protected:
  void SetUp() override {
    fixture_ = GetParam()();
    base_ = fixture_->Base();
  }
  std::unique_ptr<RegistryFixture> fixture_;
  std::string base_;
};

class FilesContract : public ::testing::TestWithParam<FilesFixtureFactory> {
 protected:
  void SetUp() override { fixture_ = GetParam()(); }
  std::unique_ptr<FilesFixture> fixture_;
};

}  // namespace netvane::testing
