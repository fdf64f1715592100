#include "widgets/folder_select_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <exception>
#include <vector>

#include "core/exceptions.h"
#include "core/paths.h"
#include "toolkit/graphics.h"
#include "toolkit/message_box.h"
#include "widgets/folder_paths.h"

namespace {

enum TPicture { picOpen, picClosed, picCurrent, picFloppy, picHard, picNetwork, picCD, picRAM, picCount };
const char* const PictureResources[picCount] = {"FOLDEROPEN", "FOLDERCLOSED", "FOLDERCURRENT", "DRIVEFLOPPY",
                                                "DRIVEHARD",  "DRIVENETWORK", "DRIVECD",       "DRIVERAM"};
constexpr int PictureWidth = 16;
constexpr int PictureHeight = 13;
constexpr COLORREF PictureTransparent = RGB(0x80, 0x80, 0x00);
constexpr int FolderIndent = 8;

struct TFolderLine {
    std::string Path;     // what entering the line makes current
    std::string Caption;  // what the line shows
    int Indent;
    TPicture Picture;
};

struct TDriveLine {
    std::string Drive;  // "c:"
    std::string Caption;
    TPicture Picture;
};

std::string LowerCase(std::string s) {
    if (!s.empty()) CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

// The root of a path ("C:\" or "\\server\share\") and the folder names below it.
void SplitRoot(const std::string& path, std::string& root, std::vector<std::string>& names) {
    size_t rootEnd = 0;
    if (path.rfind("\\\\", 0) == 0) {
        size_t server = path.find('\\', 2);
        size_t share = server == std::string::npos ? std::string::npos : path.find('\\', server + 1);
        rootEnd = share == std::string::npos ? path.size() : share + 1;
    } else {
        size_t sep = path.find('\\');
        rootEnd = sep == std::string::npos ? path.size() : sep + 1;
    }
    root = path.substr(0, rootEnd);
    if (!root.empty()) root = AddTrailingBackslash(root);
    names.clear();
    size_t start = rootEnd;
    while (start < path.size()) {
        size_t sep = path.find('\\', start);
        if (sep == std::string::npos) sep = path.size();
        if (sep > start) names.push_back(path.substr(start, sep - start));
        start = sep + 1;
    }
}

std::vector<std::string> ListNames(const std::string& folder, bool folders) {
    std::vector<std::string> names;
    std::string pattern = JoinPath(folder, "*.*");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        std::string name = data.cFileName;
        if (folders) {
            if (isFolder && name != "." && name != "..") names.push_back(name);
        } else if (!isFolder) {
            names.push_back(name);  // hidden and system files too: the list shows what is there
        }
    } while (FindNextFileA(find, &data));
    FindClose(find);
    std::sort(names.begin(), names.end(),
              [](const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; });
    return names;
}

TPicture DrivePicture(UINT type) {
    switch (type) {
        case DRIVE_REMOVABLE: return picFloppy;
        case DRIVE_REMOTE: return picNetwork;
        case DRIVE_CDROM: return picCD;
        case DRIVE_RAMDISK: return picRAM;
        default: return picHard;
    }
}

// The old network-capability entry point; its presence is what shows the Network button.
using WNetGetCapsProc = WORD(WINAPI*)(WORD);
constexpr WORD WnncDialog = 8;
constexpr WORD WnncDlgConnectDialog = 1;

bool NetworkDialogAvailable() {
    HMODULE user32 = GetModuleHandleA("user32.dll");
    auto caps = user32 ? reinterpret_cast<WNetGetCapsProc>(
                             reinterpret_cast<void*>(GetProcAddress(user32, "WNetGetCaps")))
                       : nullptr;
    return caps && (caps(WnncDialog) & WnncDlgConnectDialog) != 0;
}

void ShowNetworkConnectDialog(HWND owner) {
    HMODULE mpr = LoadLibraryA("mpr.dll");
    if (!mpr) return;
    using ConnectProc = DWORD(WINAPI*)(HWND, DWORD);
    auto connect = reinterpret_cast<ConnectProc>(reinterpret_cast<void*>(GetProcAddress(mpr, "WNetConnectionDialog")));
    if (connect) connect(owner, RESOURCETYPE_DISK);
    FreeLibrary(mpr);
}

// The network name a drive letter is connected to; empty when none.
std::string NetworkConnectionOf(const std::string& drive) {
    HMODULE mpr = LoadLibraryA("mpr.dll");
    if (!mpr) return {};
    using ConnectionProc = DWORD(WINAPI*)(LPCSTR, LPSTR, LPDWORD);
    auto connection =
        reinterpret_cast<ConnectionProc>(reinterpret_cast<void*>(GetProcAddress(mpr, "WNetGetConnectionA")));
    char remote[MAX_PATH] = "";
    DWORD size = sizeof remote;
    std::string result;
    if (connection && connection(drive.c_str(), remote, &size) == NO_ERROR) result = remote;
    FreeLibrary(mpr);
    return result;
}

// A folder that another program made meanwhile counts as made.
void CreateFolderWithParents(const std::string& folder) {
    if (folder.empty() || ForceDirectories(folder)) return;
    const DWORD error = GetLastError();
    if (!IsExistingFolder(folder)) throw EInOutError("Unable to create directory", static_cast<int>(error));
}

class FolderDialog {
public:
    FolderDialog(std::string start, TSelectDirOpts options, int helpContext)
        : start_(std::move(start)), options_(options), helpContext_(helpContext) {}
    ~FolderDialog() {
        if (images_) ImageList_Destroy(images_);
    }

    bool Run(std::string& result);

private:
    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    INT_PTR Handle(UINT msg, WPARAM wParam, LPARAM lParam);

    bool Has(TSelectDirOpt o) const { return (options_ & SelectDirOpt(o)) != 0; }
    int Scale(int v) const { return MulDiv(v, ppi_, 96); }
    HWND Item(int id) const { return GetDlgItem(dlg_, id); }

    void Init();
    HWND AddControl(int id, const char* cls, const char* text, DWORD style, int x, int y, int w, int h);
    void LoadPictures();
    void EnterStartFolder();
    void ShowCurrentFolder();
    void FillFolderList();
    void FillFileList();
    void FillDriveList();
    void UpdatePath();
    void OpenFolderLine(int index);
    void ChooseSelectedDrive();
    void Confirm();
    void Measure(MEASUREITEMSTRUCT& m);
    void Draw(const DRAWITEMSTRUCT& d);

    std::string start_;
    TSelectDirOpts options_;
    int helpContext_;
    int ppi_ = 96;
    HWND dlg_ = nullptr;
    HIMAGELIST images_ = nullptr;
    std::string current_;
    std::string result_;
    bool preserveCase_ = true;
    std::vector<TFolderLine> folders_;
    std::vector<std::string> files_;
    std::vector<TDriveLine> drives_;
    std::exception_ptr failure_;
};

// An empty dialog template; the controls are made in pixels when the dialog starts.
std::vector<WORD> EmptyTemplate(const char* title) {
    std::vector<WORD> t;
    auto dword = [&t](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    auto text = [&t](const char* s) {
        while (*s) t.push_back(static_cast<unsigned char>(*s++));
        t.push_back(0);
    };
    dword(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_3DLOOK);
    dword(WS_EX_DLGMODALFRAME);
    t.push_back(0);                           // no items
    t.push_back(0), t.push_back(0);           // x, y
    t.push_back(200), t.push_back(100);       // cx, cy: replaced when the dialog starts
    t.push_back(0), t.push_back(0);           // no menu, default class
    text(title);
    t.push_back(8);
    text("MS Sans Serif");
    return t;
}

bool FolderDialog::Run(std::string& result) {
    ppi_ = Screen().PixelsPerInch();
    std::vector<WORD> dialogTemplate = EmptyTemplate(FolderSelectDialogTitle);
    INT_PTR answer = DialogBoxIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()),
                                             GetActiveWindow(), Proc, reinterpret_cast<LPARAM>(this));
    if (failure_) std::rethrow_exception(failure_);
    if (answer != IDOK) return false;
    if (Has(sdPerformCreate)) CreateFolderWithParents(result_);
    result = result_;
    return true;
}

INT_PTR CALLBACK FolderDialog::Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        reinterpret_cast<FolderDialog*>(lParam)->dlg_ = dlg;
    }
    auto* self = reinterpret_cast<FolderDialog*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (!self) return FALSE;
    try {
        return self->Handle(msg, wParam, lParam);
    } catch (...) {
        // Nothing may unwind through the system's dialog code; the failure goes to the caller.
        self->failure_ = std::current_exception();
        EndDialog(dlg, IDCANCEL);
        return TRUE;
    }
}

INT_PTR FolderDialog::Handle(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_INITDIALOG:
            Init();
            SetFocus(Item(fdiFolderList));
            return FALSE;
        case WM_MEASUREITEM:
            Measure(*reinterpret_cast<MEASUREITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_DRAWITEM:
            Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        case WM_COMMAND: {
            int id = LOWORD(wParam);
            int code = HIWORD(wParam);
            if (id == IDOK) {
                // Enter reaches the dialog as OK from whichever control has the focus. In the
                // folder list it opens the selected line, the current one included; in the other
                // two lists the choice is already made. Only the OK button (or the name box)
                // ends the dialog.
                HWND focus = GetFocus();
                if (focus == Item(fdiFolderList))
                    OpenFolderLine(static_cast<int>(SendMessageA(focus, LB_GETCURSEL, 0, 0)));
                else if (focus != Item(fdiDriveList) && focus != Item(fdiFileList))
                    Confirm();
            } else if (id == IDCANCEL) {
                EndDialog(dlg_, IDCANCEL);
            } else if (id == fdiFolderList && code == LBN_DBLCLK) {
                OpenFolderLine(static_cast<int>(SendMessageA(Item(fdiFolderList), LB_GETCURSEL, 0, 0)));
            } else if (id == fdiDriveList && (code == CBN_CLOSEUP ||
                                              (code == CBN_SELCHANGE &&
                                               !SendMessageA(Item(fdiDriveList), CB_GETDROPPEDSTATE, 0, 0)))) {
                ChooseSelectedDrive();
            } else if (id == fdiNetwork) {
                ShowNetworkConnectDialog(dlg_);
                FillDriveList();
            } else if (id == fdiHelp) {
                std::string helpFile;
                char exe[MAX_PATH];
                DWORD n = GetModuleFileNameA(nullptr, exe, MAX_PATH);
                helpFile.assign(exe, n);
                helpFile = helpFile.substr(0, helpFile.find_last_of('.')) + ".hlp";
                WinHelpA(dlg_, helpFile.c_str(), HELP_CONTEXT, static_cast<ULONG_PTR>(helpContext_));
            }
            return TRUE;
        }
    }
    return FALSE;
}

HWND FolderDialog::AddControl(int id, const char* cls, const char* text, DWORD style, int x, int y, int w, int h) {
    HWND control = CreateWindowExA(0, cls, text, WS_CHILD | style, Scale(x), Scale(y), Scale(w), Scale(h), dlg_,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                                   nullptr);
    SendMessageA(control, WM_SETFONT, SendMessageA(dlg_, WM_GETFONT, 0, 0), FALSE);
    return control;
}

void FolderDialog::Init() {
    RECT frame = {0, 0, Scale(424), Scale(255)};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dlg_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dlg_, GWL_EXSTYLE)));
    int width = frame.right - frame.left;
    int height = frame.bottom - frame.top;
    SetWindowPos(dlg_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    LoadPictures();

    // Creation order is the tab order, and each label comes right before the control its
    // accelerator leads to.
    const DWORD visible = WS_VISIBLE;
    const DWORD listStyle = visible | WS_TABSTOP | WS_BORDER | WS_VSCROLL | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                            LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
    bool allowCreate = Has(sdAllowCreate);
    bool help = helpContext_ != 0;
    AddControl(fdiFoldersLabel, "STATIC", "&Directories:", visible, 8, 56, 66, 13);
    AddControl(fdiFolderList, "LISTBOX", "", listStyle, 8, 72, 213, 138);
    AddControl(fdiNameLabel, "STATIC", "Directory &Name:", visible, 8, 8, 92, 13);
    AddControl(fdiFolderName, "EDIT", "",
               (allowCreate ? visible : 0) | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL | ES_OEMCONVERT, 8, 24, 313, 20);
    AddControl(fdiPathDisplay, "STATIC", "", (allowCreate ? 0 : visible) | SS_NOPREFIX | SS_LEFTNOWORDWRAP, 8, 24,
               313, 20);
    AddControl(fdiDrivesLabel, "STATIC", "D&rives:", visible, 232, 176, 41, 13);
    AddControl(fdiDriveList, "COMBOBOX", "",
               visible | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED | CBS_HASSTRINGS, 232, 192,
               185, 160);
    AddControl(fdiNetwork, "BUTTON", "Ne&twork...",
               (NetworkDialogAvailable() ? visible : 0) | WS_TABSTOP | BS_PUSHBUTTON, 8, 224, 77, 27);
    AddControl(IDOK, "BUTTON", "OK", visible | WS_TABSTOP | BS_DEFPUSHBUTTON, help ? 172 : 256, 224, 77, 27);
    AddControl(IDCANCEL, "BUTTON", "Cancel", visible | WS_TABSTOP | BS_PUSHBUTTON, help ? 256 : 340, 224, 77, 27);
    AddControl(fdiFilesLabel, "STATIC", "&Files: (*.*)", visible, 232, 56, 57, 13);
    AddControl(fdiFileList, "LISTBOX", "", listStyle, 232, 72, 185, 93);
    AddControl(fdiHelp, "BUTTON", "&Help", (help ? visible : 0) | WS_TABSTOP | BS_PUSHBUTTON, 340, 224, 77, 27);
    SendMessageA(dlg_, DM_SETDEFID, IDOK, 0);

    EnterStartFolder();
    FillDriveList();
    ShowCurrentFolder();
}

void FolderDialog::LoadPictures() {
    images_ = ImageList_Create(PictureWidth, PictureHeight, ILC_COLOR24 | ILC_MASK, picCount, 0);
    for (const char* name : PictureResources) {
        auto bitmap = static_cast<HBITMAP>(
            LoadImageA(GetModuleHandleA(nullptr), name, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        if (!bitmap) bitmap = CreateBitmap(PictureWidth, PictureHeight, 1, 32, nullptr);  // keeps the indices
        ImageList_AddMasked(images_, bitmap, PictureTransparent);
        DeleteObject(bitmap);
    }
}

void FolderDialog::EnterStartFolder() {
    std::string absolute = FullPathName(start_);
    if (absolute.empty()) return;
    TFolderListStart start = FolderListStartOf(absolute);
    // A folder that cannot be entered, or a network path, leaves the list at the current folder.
    if (start.HasDrive) SetCurrentDirectoryA(start.Folder.c_str());
}

void FolderDialog::ShowCurrentFolder() {
    current_ = CurrentFolder();
    std::string root;
    std::vector<std::string> names;
    SplitRoot(current_, root, names);
    DWORD flags = 0;
    preserveCase_ = !GetVolumeInformationA(root.c_str(), nullptr, 0, nullptr, nullptr, &flags, nullptr, 0) ||
                    (flags & FS_CASE_IS_PRESERVED) != 0;
    FillFolderList();
    FillFileList();
    UpdatePath();
    SetWindowTextA(Item(fdiFolderName), current_.c_str());
    std::string drive = LowerCase(current_.substr(0, 2));
    for (size_t i = 0; i < drives_.size(); ++i)
        if (drives_[i].Drive == drive) SendMessageA(Item(fdiDriveList), CB_SETCURSEL, i, 0);
}

void FolderDialog::FillFolderList() {
    std::string root;
    std::vector<std::string> names;
    SplitRoot(current_, root, names);
    auto caption = [this](const std::string& s) { return preserveCase_ ? s : LowerCase(s); };
    folders_.clear();
    folders_.push_back({root, caption(root), 0, names.empty() ? picCurrent : picOpen});
    std::string path = root;
    for (size_t i = 0; i < names.size(); ++i) {
        path = JoinPath(path, names[i]);
        folders_.push_back({path, caption(names[i]), static_cast<int>(i) + 1,
                            i + 1 == names.size() ? picCurrent : picOpen});
    }
    int depth = static_cast<int>(names.size()) + 1;
    for (const std::string& sub : ListNames(current_, true))
        folders_.push_back({JoinPath(path, sub), caption(sub), depth, picClosed});

    HWND list = Item(fdiFolderList);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const TFolderLine& line : folders_)
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.Caption.c_str()));
    SendMessageA(list, LB_SETCURSEL, names.size(), 0);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void FolderDialog::FillFileList() {
    files_ = ListNames(current_, false);
    HWND list = Item(fdiFileList);
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const std::string& file : files_) {
        std::string shown = preserveCase_ ? file : LowerCase(file);
        SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
    }
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

void FolderDialog::FillDriveList() {
    drives_.clear();
    DWORD mask = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i))) continue;
        const char root[4] = {static_cast<char>('a' + i), ':', '\\', '\0'};
        std::string drive(root, 2);
        UINT type = GetDriveTypeA(root);
        std::string caption = drive;
        if (type == DRIVE_REMOTE) {
            std::string remote = NetworkConnectionOf(drive);
            if (!remote.empty()) caption.append(" ").append(remote);
        } else if (type == DRIVE_FIXED || type == DRIVE_RAMDISK) {
            char label[MAX_PATH] = "";
            if (GetVolumeInformationA(root, label, sizeof label, nullptr, nullptr, nullptr,
                                      nullptr, 0) &&
                label[0])
                caption.append(" [").append(LowerCase(label)).append("]");
        }
        drives_.push_back({drive, caption, DrivePicture(type)});
    }
    HWND list = Item(fdiDriveList);
    SendMessageA(list, CB_RESETCONTENT, 0, 0);
    for (const TDriveLine& d : drives_) SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(d.Caption.c_str()));
    std::string drive = LowerCase(current_.substr(0, 2));
    for (size_t i = 0; i < drives_.size(); ++i)
        if (drives_[i].Drive == drive) SendMessageA(list, CB_SETCURSEL, i, 0);
}

void FolderDialog::UpdatePath() {
    HWND display = Item(fdiPathDisplay);
    RECT r;
    GetClientRect(display, &r);
    HDC dc = GetDC(display);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(display, WM_GETFONT, 0, 0)));
    auto widthOf = [dc](const std::string& s) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, s.c_str(), static_cast<int>(s.size()), &size);
        return static_cast<int>(size.cx);
    };
    std::string shown = ShortenFolderPath(current_, r.right - r.left, widthOf);
    SelectObject(dc, old);
    ReleaseDC(display, dc);
    SetWindowTextA(display, shown.c_str());
}

void FolderDialog::OpenFolderLine(int index) {
    if (index < 0 || static_cast<size_t>(index) >= folders_.size()) return;
    SetCurrentDirectoryA(folders_[static_cast<size_t>(index)].Path.c_str());
    ShowCurrentFolder();
}

void FolderDialog::ChooseSelectedDrive() {
    int index = static_cast<int>(SendMessageA(Item(fdiDriveList), CB_GETCURSEL, 0, 0));
    if (index < 0 || static_cast<size_t>(index) >= drives_.size()) return;
    const std::string& drive = drives_[static_cast<size_t>(index)].Drive;
    if (LowerCase(current_.substr(0, 2)) == drive) return;
    // A drive that is not ready leaves everything at the folder shown before.
    SetCurrentDirectoryA(drive.c_str());
    ShowCurrentFolder();
}

void FolderDialog::Confirm() {
    std::string chosen = current_;
    if (Has(sdAllowCreate)) {
        HWND box = Item(fdiFolderName);
        std::string typed(static_cast<size_t>(GetWindowTextLengthA(box)) + 1, '\0');
        typed.resize(static_cast<size_t>(GetWindowTextA(box, typed.data(), static_cast<int>(typed.size()))));
        // A typed relative name means a folder below the one shown.
        std::string full = typed.empty() ? std::string() : FullPathName(typed);
        if (!full.empty()) chosen = FolderResultForm(full);
        if (Has(sdPrompt) && !IsExistingFolder(chosen) &&
            MessageBoxShow(FolderCreatePrompt, "Confirm", MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    result_ = chosen;
    EndDialog(dlg_, IDOK);
}

void FolderDialog::Measure(MEASUREITEMSTRUCT& m) {
    if (m.CtlID == fdiFolderList) m.itemHeight = static_cast<UINT>(Scale(17));
    else if (m.CtlID == fdiFileList) m.itemHeight = static_cast<UINT>(Scale(13));
    else if (m.CtlID == fdiDriveList) m.itemHeight = static_cast<UINT>(m.itemID == static_cast<UINT>(-1) ? Scale(13) : Scale(16));
}

void FolderDialog::Draw(const DRAWITEMSTRUCT& d) {
    if (d.itemID == static_cast<UINT>(-1)) return;
    bool selected = (d.itemState & ODS_SELECTED) != 0;
    HDC dc = d.hDC;
    RECT r = d.rcItem;
    FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    std::string caption;
    int x = r.left + 2;
    int picture = -1;
    COLORREF color = GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT);
    if (d.CtlID == fdiFolderList && d.itemID < folders_.size()) {
        const TFolderLine& line = folders_[d.itemID];
        x += Scale(FolderIndent) * line.Indent;
        picture = line.Picture;
        caption = line.Caption;
    } else if (d.CtlID == fdiDriveList && d.itemID < drives_.size()) {
        picture = drives_[d.itemID].Picture;
        caption = drives_[d.itemID].Caption;
    } else if (d.CtlID == fdiFileList && d.itemID < files_.size()) {
        caption = preserveCase_ ? files_[d.itemID] : LowerCase(files_[d.itemID]);
        if (!selected) color = GetSysColor(COLOR_GRAYTEXT);
    }
    if (picture >= 0) {
        ImageList_Draw(images_, picture, dc, x, r.top + (r.bottom - r.top - PictureHeight) / 2, ILD_TRANSPARENT);
        x += PictureWidth + 3;
    }
    SetTextColor(dc, color);
    RECT text = {x, r.top, r.right, r.bottom};
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), &text,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    if ((d.itemState & ODS_FOCUS) && d.CtlID != fdiDriveList) DrawFocusRect(dc, &r);
}

}  // namespace

bool FolderSelectDialog(std::string& folder, const std::string& startFolder, TSelectDirOpts options,
                        int helpContext) {
    FolderDialog dialog(startFolder, options, helpContext);
    return dialog.Run(folder);
}
