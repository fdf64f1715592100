#pragma once
// Every message box of the program goes through MessageBoxShow, so that tests can replace the
// platform's box with a function that records the request and answers at once.
#include <windows.h>

#include <functional>
#include <string>

using TMessageBoxHandler =
    std::function<int(HWND owner, const std::string& text, const std::string& caption, UINT flags)>;

// Shows a modal message box owned by the active window of the program; returns the button
// pressed (IDOK ...).
int MessageBoxShow(const std::string& text, const std::string& caption, UINT flags);

// Installs a replacement; an empty handler restores the platform's box. Returns the previous one.
TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler);

// The plain message window: the text, one OK button, no icon, the application's title as
// caption.
void ShowMessage(const std::string& text);
