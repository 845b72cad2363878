#pragma once
// Win32 implementations of the platform seams. Each is a thin layer over the ANSI API.
#include <functional>
#include <map>

#include "platform/Clock.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/InputPoll.h"
#include "platform/ProcessStarter.h"
#include "platform/Registry.h"
#include "platform/SystemAdapters.h"

struct tagMSG;

namespace netvane::win32 {

// A key opened for reading stays open for the next reading of the same path: under Wine every
// open and close is a round trip to the server, and each refresh reads the same adapter keys
// again. Values are always read afresh through it; once its key has been deleted (and perhaps
// created again), the path is opened anew.
class Win32Registry : public Registry {
 public:
  Win32Registry() = default;
  Win32Registry(const Win32Registry&) = delete;
  Win32Registry& operator=(const Win32Registry&) = delete;
  ~Win32Registry() override;
  Key Open(RootKey root, const std::string& path, KeyAccess access) override;
  std::optional<RegistryValue> Query(Key key, const std::string& name) override;
  bool Set(Key key, const std::string& name, std::uint32_t type, const std::string& data) override;
  DeleteResult Delete(Key key, const std::string& name) override;
  std::vector<std::string> Subkeys(Key key) override;
  void Close(Key key) override;

 private:
  using Path = std::pair<RootKey, std::string>;
  std::map<Path, Key> kept_;   // the key a reading of each path gets now
  std::map<Key, Path> paths_;  // every key kept, the current and those of deleted keys alike:
                               // a reader may still hold one; all are closed with the registry
};

class Win32IniFile : public IniFile {
 public:
  std::string ReadString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& fallback) override;
  bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
  std::vector<std::string> ReadSection(const std::string& path,
                                       const std::string& section) override;
};

class Win32FileSystem : public FileSystem {
 public:
  bool Exists(const std::string& path) override;
  std::optional<std::uint64_t> FileSize(const std::string& path) override;
  bool WriteWholeFile(const std::string& path, const std::string& bytes) override;
  bool ReplaceWholeFile(const std::string& path, const std::string& bytes) override;
  bool AppendToFile(const std::string& path, const std::string& bytes) override;
  std::optional<std::string> ReadWholeFile(const std::string& path) override;
  std::string ProgramDirectory() override;
  std::string SystemDirectory() override;
};

class Win32ProcessStarter : public ProcessStarter {
 public:
  bool Start(const ProcessRequest& request,
             const std::function<void()>& whileWaiting = {}) override;
};

class Win32SystemAdapters : public SystemAdapters {
 public:
  std::vector<SystemAdapter> List() override;
};

class Win32Clock : public Clock {
 public:
  std::uint32_t TickCount() override;
  void Sleep(std::uint32_t milliseconds) override;
  std::string LocalTimeText() override;
};

// Dispatches pending messages; `preTranslate` (when set) gets each message first, for dialog
// navigation, and returns true when it has handled it.
class Win32InputPoll : public InputPoll {
 public:
  bool InputWaiting() override;
  void DispatchPending() override;
  std::function<bool(tagMSG&)> preTranslate;
};

}  // namespace netvane::win32
