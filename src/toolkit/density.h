#pragma once
// The screen density of a window, and the sizes that follow from it. Windows 8.1 and 10 give each
// monitor a density of its own, and the functions that tell it exist only there: they are looked
// up when first used, so that the program still starts on Windows 7, where every window has the
// system's density.
#include <windows.h>

// The density of the monitor a per-monitor aware window is on (GetDpiForWindow, Windows 10
// 1607); 0 where the system cannot tell or the window is not aware of its monitor's.
int WindowDensity(HWND window);
// A system metric (SM_CXSMICON, ...) at a density (GetSystemMetricsForDpi, Windows 10 1607);
// elsewhere the system's value scaled from the system's density.
int SystemMetricForDensity(int index, int pixelsPerInch);
// The size of a window of the style whose client area is client, at a density
// (AdjustWindowRectExForDpi, Windows 10 1607); elsewhere the frame the system draws now.
RECT WindowRectForClient(RECT client, DWORD style, DWORD exStyle, int pixelsPerInch);
// The system's density: that of every monitor on Windows 7, that of the primary monitor at
// sign-in on later systems.
int SystemDensity();
