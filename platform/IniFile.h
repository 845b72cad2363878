#pragma once
// The initialisation-file seam: one key of one section at a time, as Windows offers it.
#include <string>

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
};

}  // namespace netvane
