#pragma once
// The texts of the window-placement keys: positions as four numbers, the screen-size suffix
// of the position keys, and the meaning of a stored show command.
#include <array>
#include <string>

// "%d,%d,%d,%d"
std::string FormatPosition(const std::array<int, 4>& values);
// The first four words of text (words are separated by blanks and commas); a missing or
// non-numeric word takes the default of its place.
std::array<int, 4> ParsePosition(const std::string& text, const std::array<int, 4>& defaults);

// "(<width>x<height>)", appended to the position keys so that each screen size keeps its own.
std::string ScreenSizeSuffix(int width, int height);

enum class TStoredWindowState { swsNormal, swsMinimized, swsMaximized };
// 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised; any other value gives fallback.
TStoredWindowState StateOfShowCmd(int showCmd, TStoredWindowState fallback);
