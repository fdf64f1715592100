#pragma once
// Drives the modal folder dialog from inside its own message loop: a thread timer waits for the
// dialog window, runs the test's action on it once, and cancels a dialog that stays open.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "widgets/folder_select_dialog.h"

class WhenDialogOpens {
public:
    // title nullptr: any dialog of this thread (the shell's folder browser has a localised one).
    explicit WhenDialogOpens(std::function<void(HWND dialog)> action, const char* title = FolderSelectDialogTitle)
        : action_(std::move(action)), title_(title) {
        Active() = this;
        timer_ = SetTimer(nullptr, 0, 10, Tick);
    }
    ~WhenDialogOpens() {
        KillTimer(nullptr, timer_);
        Active() = nullptr;
    }
    WhenDialogOpens(const WhenDialogOpens&) = delete;
    WhenDialogOpens& operator=(const WhenDialogOpens&) = delete;

    bool Opened() const { return opened_; }

private:
    static WhenDialogOpens*& Active() {
        static WhenDialogOpens* active = nullptr;
        return active;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
        WhenDialogOpens* self = Active();
        if (!self) return;
        HWND dialog = self->title_ ? FindWindowA("#32770", self->title_) : AnyDialogOfThisThread();
        if (!dialog) return;
        if (!self->opened_) {
            self->opened_ = true;
            self->action_(dialog);
        } else if (++self->ticksAfter_ > 200) {
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);  // the action left it open: do not hang
        }
    }

    static BOOL CALLBACK TakeDialog(HWND window, LPARAM out) {
        char name[16] = "";
        GetClassNameA(window, name, sizeof name);
        if (std::string(name) != "#32770") return TRUE;
        *reinterpret_cast<HWND*>(out) = window;
        return FALSE;
    }
    static HWND AnyDialogOfThisThread() {
        HWND found = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), TakeDialog, reinterpret_cast<LPARAM>(&found));
        return found;
    }

    std::function<void(HWND)> action_;
    const char* title_;
    UINT_PTR timer_ = 0;
    bool opened_ = false;
    int ticksAfter_ = 0;
};

inline std::string WindowText(HWND window) {
    char buffer[1024] = "";
    GetWindowTextA(window, buffer, sizeof buffer);
    return buffer;
}

inline std::vector<std::string> ListLines(HWND list) {
    std::vector<std::string> lines;
    int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char buffer[MAX_PATH] = "";
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(buffer));
        lines.push_back(buffer);
    }
    return lines;
}

// Double-clicks the folder line with that caption (or line 0 for the root).
inline void OpenFolderLine(HWND dialog, const std::string& caption) {
    HWND list = GetDlgItem(dialog, fdiFolderList);
    LRESULT index = caption.empty() ? 0 : SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                       reinterpret_cast<LPARAM>(caption.c_str()));
    SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(fdiFolderList, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

// A key typed into the focused control and handled as the dialog's own loop handles it.
inline void TypeIntoDialog(HWND dialog, WORD vk) {
    HWND target = GetFocus();
    PostMessageA(target, WM_KEYDOWN, vk, 1);
    PostMessageA(target, WM_KEYUP, vk, 0xC0000001);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (IsDialogMessageA(dialog, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// A click on the button, which takes the focus first as under the mouse.
inline void PressButton(HWND dialog, int id) { SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }

inline std::string CurrentDirectory() {
    char buffer[MAX_PATH] = "";
    GetCurrentDirectoryA(MAX_PATH, buffer);
    return buffer;
}

// A folder tree on drive C for the dialog to walk:
//   C:\FolderEditTest\program (the process's current folder while a test runs)
//   C:\FolderEditTest\arhiva\2024, ...\arhiva\2023, ...\arhiva\notes.txt
class FolderTree {
public:
    FolderTree() : saved_(CurrentDirectory()) {
        for (const char* folder : {Root, Program, Arhiva, Arhiva2023, Arhiva2024}) CreateDirectoryA(folder, nullptr);
        HANDLE file = CreateFileA(Notes, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        CloseHandle(file);
        SetCurrentDirectoryA(Program);
    }
    ~FolderTree() { SetCurrentDirectoryA(saved_.c_str()); }
    FolderTree(const FolderTree&) = delete;
    FolderTree& operator=(const FolderTree&) = delete;

    static constexpr const char* Root = "C:\\FolderEditTest";
    static constexpr const char* Program = "C:\\FolderEditTest\\program";
    static constexpr const char* Arhiva = "C:\\FolderEditTest\\arhiva";
    static constexpr const char* Arhiva2023 = "C:\\FolderEditTest\\arhiva\\2023";
    static constexpr const char* Arhiva2024 = "C:\\FolderEditTest\\arhiva\\2024";
    static constexpr const char* Notes = "C:\\FolderEditTest\\arhiva\\notes.txt";

private:
    std::string saved_;
};
