#pragma once
// The initialisation-file seam: one key of one section at a time, or a whole section, as
// Windows offers them.
#include <string>
#include <vector>

namespace netvane {

class IniFile {
 public:
  virtual ~IniFile() = default;
  // The value of `key` in `section`, or `fallback` when the file, section or key is absent.
  virtual std::string ReadString(const std::string& path, const std::string& section,
                                 const std::string& key, const std::string& fallback) = 0;
  // Creates the file and the section as needed; false when the file cannot be written.
  virtual bool WriteString(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& value) = 0;
  // Every line of the first section of that name, trimmed, as "key=value" (or the bare line
  // when it has no '='); blank and ';' lines left out. Empty when the file or section is absent.
  virtual std::vector<std::string> ReadSection(const std::string& path,
                                               const std::string& section) = 0;
};

}  // namespace netvane
