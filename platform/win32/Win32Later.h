#pragma once
// Functions that Windows XP lacks, or that not every XP installation has, looked up at run
// time: the programs must load on XP SP3, so they import nothing newer.
#include <windows.h>

namespace netvane::win32 {

// Tells Windows Vista and later that the windows scale themselves; nothing on XP.
void DeclareDpiAware();

// Draws a control without visual styles, so that it honours its text colour; nothing where
// uxtheme.dll is missing.
void DrawUnthemed(HWND control);

// True for a 32-bit process on 64-bit Windows (WOW64).
bool RunningUnderWow64();

}  // namespace netvane::win32
