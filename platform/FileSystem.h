#pragma once
// The file seam: the few file-system facts and writes the program needs.
#include <cstdint>
#include <optional>
#include <string>

namespace netvane {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // True when a file or directory exists at the path.
  virtual bool Exists(const std::string& path) = 0;
  // The size of the file at the path; nothing when there is none (a directory counts as 0).
  virtual std::optional<std::uint64_t> FileSize(const std::string& path) = 0;
  // Writes the bytes as the whole file at the path, replacing one; false when it cannot.
  virtual bool WriteWholeFile(const std::string& path, const std::string& bytes) = 0;
  // Writes the bytes as the file's whole content, replacing any file there; false when it cannot.
  virtual bool ReplaceWholeFile(const std::string& path, const std::string& bytes) = 0;
  // Adds the bytes at the end of the file, creating it when absent; false when it cannot.
  virtual bool AppendToFile(const std::string& path, const std::string& bytes) = 0;
  // The file's bytes, or nothing when it cannot be read.
  virtual std::optional<std::string> ReadWholeFile(const std::string& path) = 0;
  // The directory that holds the program's executable, without a trailing backslash.
  virtual std::string ProgramDirectory() = 0;
  // The Windows system directory, as the system reports it.
  virtual std::string SystemDirectory() = 0;
};

}  // namespace netvane
