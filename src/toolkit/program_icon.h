#pragma once
// The running program's own icon: the first icon group of its resources, the one Explorer and a
// shortcut show.
#include <windows.h>

// The icon at size x size pixels, the nearest drawn size when none is exactly that; nullptr
// when the program has no icon. The caller destroys it (DestroyIcon).
HICON LoadProgramIcon(int size);
