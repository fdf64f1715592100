#include "toolkit/application.h"

#include <algorithm>

#include "core/exceptions.h"
#include "toolkit/controls.h"
#include "toolkit/forms.h"
#include "toolkit/message_box.h"

TApplication::TApplication() : TComponent(nullptr) {}

TApplication::~TApplication() { Shutdown(); }

const TClassInfo& TApplication::StaticClass() {
    static const TClassInfo info = MakeClassInfo<TApplication, TComponent>("TApplication");
    return info;
}

void TApplication::Initialize() {
    for (auto& proc : initProcs_) proc();
}

void TApplication::Run() {
    if (mainForm_) {
        STARTUPINFOA si{};
        si.cb = sizeof(si);
        GetStartupInfoA(&si);
        int cmd = (si.dwFlags & STARTF_USESHOWWINDOW) ? si.wShowWindow : SW_SHOWNORMAL;
        if (cmd == SW_SHOWMAXIMIZED) mainForm_->SetWindowState(TWindowState::wsMaximized);
        try {
            if (cmd == SW_SHOWMINNOACTIVE)
                Minimize();
            else
                mainForm_->Show();
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    while (!terminated_) HandleMessage();
}

void TApplication::Terminate() {
    if (terminated_) return;
    terminated_ = true;
    PostQuitMessage(0);
}

void TApplication::HandleMessage() {
    MSG msg;
    BOOL got = GetMessageA(&msg, nullptr, 0, 0);
    if (got == 0) {
        terminated_ = true;
        return;
    }
    if (got < 0) return;
    ProcessMessage(msg);
}

void TApplication::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            terminated_ = true;
            return;
        }
        ProcessMessage(msg);
    }
}

void TApplication::ProcessMessage(MSG& msg) {
    if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        if (TWinControl* c = TWinControl::FindControl(msg.hwnd)) {
            bool consumed;
            try {
                consumed = c->PreTranslateKey(msg);
            } catch (...) {
                HandleException(std::current_exception());
                consumed = true;
            }
            if (consumed) return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

std::string TApplication::ExeName() const {
    char buf[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, buf, MAX_PATH);
    return std::string(buf, n);
}

std::string TApplication::Title() const { return title_.empty() ? TitleFromExeName(ExeName()) : title_; }

std::string TitleFromExeName(const std::string& path) {
    std::string name = path;
    size_t slash = name.find_last_of("\\/:");
    if (slash != std::string::npos) name = name.substr(slash + 1);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.resize(dot);
    if (name.size() > 1) CharLowerBuffA(name.data() + 1, static_cast<DWORD>(name.size() - 1));
    return name;
}

void TApplication::Minimize() {
    minimized_ = true;
    if (!mainForm_) return;
    if (HWND h = mainForm_->HandleIfAllocated(); h && IsWindowVisible(h)) {
        ShowWindow(h, SW_MINIMIZE);
    } else {
        mainForm_->SetWindowState(TWindowState::wsMinimized);
        mainForm_->Show();
        // The show handlers (a restored placement) may have asked for another state; the
        // application still starts minimised.
        if (HWND h = mainForm_->HandleIfAllocated(); h && !IsIconic(h)) ShowWindow(h, SW_SHOWMINNOACTIVE);
    }
}

void TApplication::Restore() {
    minimized_ = false;
    if (mainForm_ && mainForm_->HandleAllocated()) ShowWindow(mainForm_->Handle(), SW_RESTORE);
}

std::string FailureDisplayText(const std::string& message) {
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
    return message;
}

void TApplication::HandleException(std::exception_ptr error) {
    if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
    try {
        std::rethrow_exception(error);
    } catch (const EAbort&) {
    } catch (const std::exception& e) {
        ShowException(e);
    } catch (...) {
        ShowException(Exception("Unknown error"));
    }
}

void TApplication::ShowException(const std::exception& error) {
    auto* e = dynamic_cast<const Exception*>(&error);
    std::string text = e ? e->Message() : std::string(error.what());
    MessageBoxShow(FailureDisplayText(text), Title(), MB_OK | MB_ICONSTOP);
}

int TApplication::HookMainWindow(TWindowHook hook) {
    int id = nextHookId_++;
    hooks_.push_back({id, std::move(hook)});
    return id;
}

void TApplication::UnhookMainWindow(int id) {
    hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const Hook& h) { return h.id == id; }),
                 hooks_.end());
}

bool TApplication::CallMainWindowHooks(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    // A hook may remove itself (or others) while it runs.
    std::vector<Hook> hooks = hooks_;
    for (auto& h : hooks)
        if (h.fn(msg, wParam, lParam, result)) return true;
    return false;
}

void TApplication::Shutdown() {
    DestroyComponents();
    mainForm_ = nullptr;
}

void TApplication::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == mainForm_) mainForm_ = nullptr;
}

TApplication& Application() {
    static TApplication application;
    return application;
}
