#include "toolkit/edit.h"

TEdit::TEdit(TComponent* owner) : TWinControl(owner) {
    SetTabStop(true);
    SetColor(clWindow);
    width_ = 121;
    height_ = 21;
}

const TClassInfo& TEdit::StaticClass() {
    static const TEnumInfo borders{{"bsNone", "bsSingle"}};
    using P = Published<TEdit>;
    static const TClassInfo info = MakeCreatableClassInfo<TEdit, TWinControl>("TEdit", {
        P::Bool("AutoSelect", &TEdit::AutoSelect, &TEdit::SetAutoSelect, true),
        P::Bool("AutoSize", &TEdit::AutoSize, &TEdit::SetAutoSize, true),
        P::Enum("BorderStyle", borders, &TEdit::BorderStyle, &TEdit::SetBorderStyle, 1),
        P::Int("MaxLength", &TEdit::MaxLength, &TEdit::SetMaxLength, 0),
        P::Bool("OEMConvert", &TEdit::OEMConvert, &TEdit::SetOEMConvert, false),
        P::Bool("ReadOnly", &TEdit::ReadOnly, &TEdit::SetReadOnly, false),
        P::Str("Text", &TEdit::Text, &TEdit::SetText),
        P::Event("OnChange", &TEdit::OnChange),
    });
    return info;
}

void TEdit::CreateParams(TCreateParams& p) {
    TWinControl::CreateParams(p);
    p.SubclassOf = "EDIT";
    p.Style |= ES_AUTOHSCROLL | ES_LEFT;
    if (readOnly_) p.Style |= ES_READONLY;
    if (oemConvert_) p.Style |= ES_OEMCONVERT;
    if (borderStyle_ == TBorderStyle::bsSingle) p.ExStyle |= WS_EX_CLIENTEDGE;
}

void TEdit::CreateWnd() {
    TWinControl::CreateWnd();
    HWND h = HandleIfAllocated();
    SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(selStart_), selStart_ + selLength_);
}

LRESULT TEdit::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case CN_COMMAND:
            if (HIWORD(wParam) == EN_CHANGE) Change();
            return 0;
        case WM_DESTROY:
            selStart_ = SelStart();
            selLength_ = SelLength();
            break;
        default: break;
    }
    return TWinControl::WndProc(msg, wParam, lParam);
}

void TEdit::Change() {
    if (OnChange) OnChange(this);
}

void TEdit::TextChanged() {
    // With a window the platform reports the change (EN_CHANGE); without one, nobody would.
    if (!HandleAllocated()) Change();
}

void TEdit::DoEnter() {
    if (autoSelect_ && GetKeyState(VK_LBUTTON) >= 0) SelectAll();
    TWinControl::DoEnter();
}

void TEdit::SetReadOnly(bool v) {
    readOnly_ = v;
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETREADONLY, v, 0);
}

void TEdit::SetMaxLength(int v) {
    maxLength_ = v < 0 ? 0 : v;
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
}

void TEdit::SetOEMConvert(bool v) {
    if (v == oemConvert_) return;
    oemConvert_ = v;
    RecreateWnd();
}

void TEdit::SetBorderStyle(TBorderStyle v) {
    if (v == borderStyle_) return;
    borderStyle_ = v;
    RecreateWnd();
}

TEditSelection EditSelection(HWND edit) {
    TEditSelection s;
    SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s.Start), reinterpret_cast<LPARAM>(&s.End));
    return s;
}

int TEdit::SelStart() const {
    HWND h = HandleIfAllocated();
    return h ? static_cast<int>(EditSelection(h).Start) : selStart_;
}

int TEdit::SelLength() const {
    HWND h = HandleIfAllocated();
    if (!h) return selLength_;
    const TEditSelection s = EditSelection(h);
    return static_cast<int>(s.End - s.Start);
}

void TEdit::SetSelStart(int v) {
    selStart_ = v;
    selLength_ = 0;
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(v), v);
}

void TEdit::SetSelLength(int v) {
    int start = SelStart();
    selStart_ = start;
    selLength_ = v;
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), start + v);
}

void TEdit::SelectAll() {
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETSEL, 0, -1);
}

void TEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }

bool TEdit::Modified() const {
    HWND h = HandleIfAllocated();
    return h && SendMessageA(h, EM_GETMODIFY, 0, 0) != 0;
}

void TEdit::SetModified(bool v) {
    if (HWND h = HandleIfAllocated()) SendMessageA(h, EM_SETMODIFY, v, 0);
}
