#include "widgets/directory_edit.h"

#include <shlobj.h>

#include "core/paths.h"
#include "widgets/folder_paths.h"

TDirectoryEdit::TDirectoryEdit(TComponent* owner) : TFileDirEdit(owner) {}

TDirectoryEdit::~TDirectoryEdit() = default;

const TClassInfo& TDirectoryEdit::StaticClass() {
    static const TEnumInfo kinds{{"dkBuiltin", "dkWin32"}};
    static const TEnumInfo options{{"sdAllowCreate", "sdPerformCreate", "sdPrompt"}};
    using P = Published<TDirectoryEdit>;
    static const TClassInfo info = MakeCreatableClassInfo<TDirectoryEdit, TFileDirEdit>("TDirectoryEdit", {
        P::Enum("DialogKind", kinds, &TDirectoryEdit::DialogKind, &TDirectoryEdit::SetDialogKind, dkBuiltin),
        P::Str("DialogText", &TDirectoryEdit::DialogText, &TDirectoryEdit::SetDialogText),
        P::Set("DialogOptions", options, &TDirectoryEdit::DialogOptions, &TDirectoryEdit::SetDialogOptions, 0),
        P::Str("InitialDir", &TDirectoryEdit::InitialDir, &TDirectoryEdit::SetInitialDir),
        P::Bool("MultipleDirs", &TDirectoryEdit::MultipleDirs, &TDirectoryEdit::SetMultipleDirs, false),
    });
    return info;
}

void RegisterDirectoryEditClasses() { RegisterClass(TDirectoryEdit::StaticClass()); }

std::string TDirectoryEdit::LongPathForm() const {
    return ConvertPathText(Text(), multipleDirs_, TPathNameForm::pnLong, FileSystemName);
}

std::string TDirectoryEdit::ShortPathForm() const {
    return ConvertPathText(Text(), multipleDirs_, TPathNameForm::pnShort, FileSystemName);
}

namespace {

// No system box about an empty floppy or CD drive while the operator browses; the previous
// mode comes back however the dialog ends.
class ErrorModeGuard {
public:
    ErrorModeGuard() : previous_(SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX)) {}
    ~ErrorModeGuard() { SetErrorMode(previous_); }
    ErrorModeGuard(const ErrorModeGuard&) = delete;
    ErrorModeGuard& operator=(const ErrorModeGuard&) = delete;

private:
    UINT previous_;
};

}  // namespace

void TDirectoryEdit::ActivateButton() {
    if (ReadOnly()) return;
    TFileDirEdit::ActivateButton();
    std::string name = Text();
    bool action = true;
    if (OnBeforeDialog) OnBeforeDialog(this, name, action);
    if (!action) return;
    name = BrowseStartFolder(name, initialDir_, IsExistingFolder);
    {
        ErrorModeGuard guard;
        action = RunDialog(name);
    }
    if (CanFocus()) SetFocus();
    if (OnAfterDialog) OnAfterDialog(this, name, action);
    if (!action) return;
    SetText(TextAfterChoice(Text(), SelStart(), SelLength(), name, multipleDirs_));
    if (!name.empty() && IsExistingFolder(name)) initialDir_ = name;
}

bool TDirectoryEdit::RunDialog(std::string& name) {
    if (dialogKind_ == dkWin32 && ShellFolderBrowserAvailable())
        return ShellFolderBrowser(HandleIfAllocated(), dialogText_, name);
    return FolderSelectDialog(name, name, dialogOptions_, HelpContext());
}

void TDirectoryEdit::TakeDroppedNames(const std::vector<std::string>& names) {
    SetText(TextAfterDrop(Text(), names, multipleDirs_, IsExistingFile));
}

// ---- the shell's folder browser ------------------------------------------------------------

namespace {

// The browser's two entry points, looked up when first wanted rather than imported: a system
// without them still loads the program, and the edit then opens its own folder dialog.
struct TShellBrowser {
    decltype(&SHBrowseForFolderA) Browse = nullptr;
    decltype(&SHGetPathFromIDListA) PathOf = nullptr;
};

template <class F>
F Entry(HMODULE module, const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

const TShellBrowser& ShellBrowser() {
    static const TShellBrowser functions = [] {
        TShellBrowser found;
        HMODULE shell = GetModuleHandleA("shell32.dll");
        if (!shell) shell = LoadLibraryA("shell32.dll");
        if (!shell) return found;
        found.Browse = Entry<decltype(found.Browse)>(shell, "SHBrowseForFolderA");
        found.PathOf = Entry<decltype(found.PathOf)>(shell, "SHGetPathFromIDListA");
        return found;
    }();
    return functions;
}

std::string PathOfItem(LPCITEMIDLIST item) {
    char path[MAX_PATH] = "";
    return item && ShellBrowser().PathOf(item, path) ? std::string(path) : std::string();
}

int CALLBACK BrowseCallback(HWND window, UINT msg, LPARAM lParam, LPARAM data) {
    if (msg == BFFM_INITIALIZED) {
        const std::string& start = *reinterpret_cast<const std::string*>(data);
        if (IsExistingFolder(start)) SendMessageA(window, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(start.c_str()));
    } else if (msg == BFFM_SELCHANGED) {
        std::string path = PathOfItem(reinterpret_cast<LPCITEMIDLIST>(lParam));
        SendMessageA(window, BFFM_ENABLEOK, 0, !path.empty() && IsExistingFolder(path));
    }
    return 0;
}

}  // namespace

bool ShellFolderBrowserAvailable() { return ShellBrowser().Browse && ShellBrowser().PathOf; }

bool ShellFolderBrowser(HWND owner, const std::string& text, std::string& folder) {
    if (!ShellFolderBrowserAvailable()) return false;
    char display[MAX_PATH] = "";
    std::string start = folder;
    BROWSEINFOA info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = display;
    info.lpszTitle = text.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    info.lpfn = BrowseCallback;
    info.lParam = reinterpret_cast<LPARAM>(&start);
    LPITEMIDLIST chosen = ShellBrowser().Browse(&info);
    if (!chosen) return false;
    std::string path = PathOfItem(chosen);
    CoTaskMemFree(chosen);
    if (path.empty()) return false;
    folder = FolderResultForm(path);
    return true;
}
