#include "widgets/popup_window.h"

TPopupWindow::TPopupWindow(TWinControl* edit) : TCustomControl(edit), edit_(edit) { visible_ = false; }

const TClassInfo& TPopupWindow::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TPopupWindow, TCustomControl>("TPopupWindow");
    return info;
}

void TPopupWindow::CreateParams(TCreateParams& p) {
    TCustomControl::CreateParams(p);
    p.Style = WS_POPUP | WS_BORDER | WS_CLIPCHILDREN;
    p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
    p.ClassStyle = CS_SAVEBITS | CS_DBLCLKS;
    if (edit_) p.WndParent = GetAncestor(edit_->Handle(), GA_ROOT);
}

void TPopupWindow::RequestClose(bool accept) {
    if (OnCloseRequest) OnCloseRequest(accept);
}

LRESULT TPopupWindow::WndProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;
        case WM_LBUTTONUP: {
            LRESULT r = TCustomControl::WndProc(msg, wParam, lParam);
            POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            RECT client = ClientRect();
            RequestClose(PtInRect(&client, p) != 0);
            return r;
        }
        default:
            return TCustomControl::WndProc(msg, wParam, lParam);
    }
}
