#include "widgets/file_dir_edit.h"

#include <shellapi.h>

TFileDirEdit::TFileDirEdit(TComponent* owner) : TCustomComboEdit(owner) {
    SetOEMConvert(true);
    SetGlyphKind(gkDefault);
}

TFileDirEdit::~TFileDirEdit() = default;

const TClassInfo& TFileDirEdit::StaticClass() {
    using P = Published<TFileDirEdit>;
    static const TClassInfo info = MakeClassInfo<TFileDirEdit, TCustomComboEdit>("TFileDirEdit", {
        P::Bool("AcceptFiles", &TFileDirEdit::AcceptFiles, &TFileDirEdit::SetAcceptFiles, false),
        P::Enum("GlyphKind", GlyphKindNames(), &TFileDirEdit::GlyphKind, &TFileDirEdit::SetGlyphKind, gkDefault),
        P::Bool("OEMConvert", &TFileDirEdit::OEMConvert, &TFileDirEdit::SetOEMConvert, true),
        P::Event("OnBeforeDialog", &TFileDirEdit::OnBeforeDialog),
        P::Event("OnAfterDialog", &TFileDirEdit::OnAfterDialog),
        P::Event("OnDropFiles", &TFileDirEdit::OnDropFiles),
    });
    return info;
}

char ThroughOemCharset(char ch) {
    if (static_cast<unsigned char>(ch) < 0x80) return ch;
    char oem = 0;
    char back = 0;
    CharToOemBuffA(&ch, &oem, 1);
    OemToCharBuffA(&oem, &back, 1);
    return back;
}

void TFileDirEdit::KeyPress(char& key) {
    TCustomComboEdit::KeyPress(key);
    // The text box's own OEM style is not honoured everywhere; the round trip is made here too.
    if (key != 0 && OEMConvert()) key = ThroughOemCharset(key);
}

void TFileDirEdit::SetAcceptFiles(bool value) {
    if (acceptFiles_ == value) return;
    acceptFiles_ = value;
    if (HWND h = HandleIfAllocated()) DragAcceptFiles(h, value);
}

void TFileDirEdit::CreateWnd() {
    TCustomComboEdit::CreateWnd();
    if (acceptFiles_) DragAcceptFiles(HandleIfAllocated(), TRUE);
}

void TFileDirEdit::DropNames(const std::vector<std::string>& names) {
    TakeDroppedNames(names);
    if (OnDropFiles) OnDropFiles(this);
}

void TFileDirEdit::ReceiveDrop(HDROP drop) {
    std::vector<std::string> names;
    UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Sized by the name itself: a fixed buffer would cut long paths into other, wrong ones.
        UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string name(length + 1, '\0');
        name.resize(DragQueryFileA(drop, i, name.data(), length + 1));
        names.push_back(name);
    }
    DragFinish(drop);
    DropNames(names);
}

LRESULT TFileDirEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_DROPFILES:
            ReceiveDrop(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_DESTROY:
            if (acceptFiles_) DragAcceptFiles(HandleIfAllocated(), FALSE);
            break;
    }
    return TCustomComboEdit::WndProc(msg, wParam, lParam);
}
