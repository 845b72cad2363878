#pragma once
// In-memory files and directories, with Windows' case-insensitive paths.
#include <map>
#include <set>
#include <string>

#include "platform/FileSystem.h"

namespace netvane::testing {

class MemoryFileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override {
    if (const std::string* file = Read(path)) return file->size();
    return Exists(path) ? std::optional<std::uint64_t>(0) : std::nullopt;
  }
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool ReplaceWholeFile(const std::string& path, const std::string& bytes) override {
    return !refuseWrites && Store(path, bytes);
  }
  bool AppendToFile(const std::string& path, const std::string& bytes) override {
    return !refuseWrites && Store(path, ReadWholeFile(path).value_or("") + bytes);
  }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    return Read(path) ? std::optional(*Read(path)) : std::nullopt;
  }
  std::string ProgramDirectory() override { return programDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }

  // Replaces or creates a file (for seeding and for the initialisation-file double).
  bool Store(const std::string& path, const std::string& bytes);
  const std::string* Read(const std::string& path) const;
  void MakeDirectory(const std::string& path) { directories_.insert(Key(path)); }
  int writeCalls = 0;
  bool refuseWrites = false;  // every whole-file write fails, as on a read-only disk

  std::string programDirectory = "C:\\Netcafe";
  std::string systemDirectory = "C:\\windows\\system32";

 private:
  static std::string Key(const std::string& path);
  std::map<std::string, std::string> files_;
  std::set<std::string> directories_;
};

}  // namespace netvane::testing
