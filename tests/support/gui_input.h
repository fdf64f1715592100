#pragma once
// Typed input for tests: messages posted to the focused window and handled by the program's
// own message loop, as the keyboard would deliver them.
#include <windows.h>

#include "toolkit/application.h"
#include "toolkit/controls.h"

namespace support {

// The key's press and release posted to the focused window; the program sees them when its
// loop next turns.
inline void PostKey(WORD vk, bool alt = false) {
    HWND target = GetFocus();
    PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, vk, alt ? 0x20000001 : 1);
    PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, vk, alt ? 0xE0000001 : 0xC0000001);
}

inline void PressKey(WORD vk, TShiftState shift = 0) {
    BYTE keys[256];
    GetKeyboardState(keys);
    const bool alt = shift & ssAlt;
    keys[VK_SHIFT] = (shift & ssShift) ? 0x80 : 0;
    keys[VK_CONTROL] = (shift & ssCtrl) ? 0x80 : 0;
    keys[VK_MENU] = alt ? 0x80 : 0;
    SetKeyboardState(keys);
    PostKey(vk, alt);
    Application().ProcessMessages();
    keys[VK_SHIFT] = keys[VK_CONTROL] = keys[VK_MENU] = 0;
    SetKeyboardState(keys);
}

// Alt+ch, as the translated WM_SYSCHAR that carries accelerators.
inline void PostAltChar(char ch) { PostMessageA(GetFocus(), WM_SYSCHAR, static_cast<unsigned char>(ch), 0x20000001); }

inline void PressAltChar(char ch) {
    PostAltChar(ch);
    Application().ProcessMessages();
}

// A left click at a point of the screen through the system's input queue, as the mouse makes
// it: the program sees it when its message loop next turns.
inline void InjectClick(POINT screen) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_MOUSE;
    in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, in, sizeof(INPUT));
}

// A key's press and release through the system's input queue, as the keyboard makes them: the
// window that has the focus when the program's loop takes them sees them.
inline void InjectKey(WORD vk) {
    INPUT in[2] = {};
    in[0].type = in[1].type = INPUT_KEYBOARD;
    in[0].ki.wVk = in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

inline TWinControl* FocusedControl() { return TWinControl::FindControl(GetFocus()); }

}  // namespace support
