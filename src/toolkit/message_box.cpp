#include "toolkit/message_box.h"

#include "toolkit/application.h"
#include "toolkit/forms.h"

namespace {
TMessageBoxHandler& Handler() {
    static TMessageBoxHandler handler;
    return handler;
}

HWND MessageBoxOwner() {
    HWND active = GetActiveWindow();
    if (active && IsWindowVisible(active)) return active;
    if (TForm* main = Application().MainForm())
        if (HWND h = main->HandleIfAllocated(); h && IsWindowVisible(h)) return h;
    return nullptr;
}
}  // namespace

int MessageBoxShow(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = MessageBoxOwner();
    if (Handler()) return Handler()(owner, text, caption, flags);
    return MessageBoxA(owner, text.c_str(), caption.c_str(), owner ? flags : (flags | MB_TASKMODAL));
}

TMessageBoxHandler SetMessageBoxHandler(TMessageBoxHandler handler) {
    TMessageBoxHandler previous = std::move(Handler());
    Handler() = std::move(handler);
    return previous;
}

void ShowMessage(const std::string& text) { MessageBoxShow(text, Application().Title(), MB_OK); }
