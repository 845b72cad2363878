#pragma once
// The undo file: the values an apply is about to change, as they were, in the REGEDIT4 form
// that regedit and reg import read, so that an administrator can put them back with or
// without this program.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/RegistryLayer.h"

namespace netvane {

inline constexpr std::string_view kUndoFileName = "netvane-undo.reg";

// REGEDIT4 text (CR LF lines, ANSI bytes) that restores each value: a text as "text", a DWORD
// as dword:, any other type as hex(N): of its bytes, and "name"=- for a value that was absent.
// A section starts wherever the key changes.
std::string RenderUndoFile(const std::vector<PlannedValue>& previous);
// The values an undo file restores, in file order; nothing when the text is not such a file.
std::optional<std::vector<PlannedValue>> ParseUndoFile(std::string_view text);

}  // namespace netvane
