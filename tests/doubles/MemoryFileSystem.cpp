#include "tests/doubles/MemoryFileSystem.h"

#include <cctype>

namespace netvane::testing {

std::string MemoryFileSystem::Key(const std::string& path) {
  std::string key = path;
  for (char& c : key) {
    c = c == '/' ? '\\' : static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return key;
}

bool MemoryFileSystem::Exists(const std::string& path) {
  const std::string key = Key(path);
  return files_.count(key) > 0 || directories_.count(key) > 0;
}

bool MemoryFileSystem::WriteWholeFile(const std::string& path, const std::string& bytes) {
  ++writeCalls;
  if (refuseWrites) return false;
  return Store(path, bytes);
}

bool MemoryFileSystem::Store(const std::string& path, const std::string& bytes) {
  const std::string key = Key(path);
  if (directories_.count(key) > 0) return false;
  files_[key] = bytes;
  return true;
}

const std::string* MemoryFileSystem::Read(const std::string& path) const {
  const auto file = files_.find(Key(path));
  return file == files_.end() ? nullptr : &file->second;
}

}  // namespace netvane::testing
