#pragma once
// The layout tables of the three windows: the single source from which the Win32 windows
// create their controls and the in-memory windows start.
#include "ui/Layout.h"

namespace netvane {

// The layout of a window, as it is when the window opens.
const WindowLayout& LayoutOf(WindowId window);

// The help page behind the hyperlink.
inline constexpr const char* kHelpPageUrl = "http://www.netvane.net/help.html";

}  // namespace netvane
