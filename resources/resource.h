#pragma once
// Resource ids of netvane.exe, shared by netvane.rc and the program.

#define IDI_NETVANE 1

// Arrow buttons: strips of four 27x26 pictures (normal, pressed, focused, disabled).
#define IDB_ARROW_UP 101
#define IDB_ARROW_DOWN 102

// devcon.exe, carried as RCDATA and written out into the system directory when needed.
#define IDR_DEVCON 201
