#include "toolkit/open_file_dialog.h"

#include <windows.h>

#include <commdlg.h>

#include <vector>

#include "toolkit/application.h"
#include "toolkit/forms.h"

namespace {

TOpenFileHandler& Handler() {
    static TOpenFileHandler handler;
    return handler;
}

std::string PlatformOpenFile(const std::string& folder, const std::string& filterName, const std::string& pattern) {
    // Pairs of texts, each ending in a zero, and one more zero after the last.
    std::string filter = filterName + '\0' + pattern + '\0' + '\0';
    std::vector<char> file(MAX_PATH + 1, '\0');
    OPENFILENAMEA ofn{};
    ofn.lStructSize = sizeof ofn;
    HWND active = GetActiveWindow();
    if (!active)
        if (TForm* main = Application().MainForm()) active = main->HandleIfAllocated();
    ofn.hwndOwner = active;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // The dialog must not leave the process in the folder it showed last: stored names and the
    // relative folder texts count from the current folder.
    ofn.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return {};
    return file.data();
}

}  // namespace

std::string OpenFileShow(const std::string& folder, const std::string& filterName, const std::string& pattern) {
    if (Handler()) return Handler()(folder, filterName, pattern);
    return PlatformOpenFile(folder, filterName, pattern);
}

TOpenFileHandler SetOpenFileHandler(TOpenFileHandler handler) {
    TOpenFileHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}
