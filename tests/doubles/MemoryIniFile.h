#pragma once
// Initialisation files kept as text in a MemoryFileSystem and read and written as Windows'
// profile functions do: names match without regard to ASCII case, values are trimmed and lose
// one pair of enclosing quotes, lines the program does not know stay as they are.
#include "platform/IniFile.h"
#include "tests/doubles/MemoryFileSystem.h"

namespace netvane::testing {

class MemoryIniFile : public IniFile {
 public:
  explicit MemoryIniFile(MemoryFileSystem& files) : files_(files) {}
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& path,
                                       const std::string& section) override;

 private:
  MemoryFileSystem& files_;
};

}  // namespace netvane::testing
