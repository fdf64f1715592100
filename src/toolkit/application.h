#pragma once
// The application object: start-up hooks, the main form, the message loop, the failure display
// and the hooks on the main window's messages.
#include <windows.h>

#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "core/component.h"

class TForm;

// A hook on the main window: true when it handled the message (result then answers it).
using TWindowHook = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

class TApplication : public TComponent {
public:
    TApplication();
    ~TApplication() override;

    static const TClassInfo& StaticClass();
    const TClassInfo& ClassInfo() const override { return StaticClass(); }

    // Start-up procedures that modules install; Initialize runs them in the order installed.
    void AddInitProc(std::function<void()> proc) { initProcs_.push_back(std::move(proc)); }
    void Initialize();

    // Creates a form owned by the application; the first one becomes the main form.
    template <class T>
    T* CreateForm() {
        T* form = new T(this);
        if (!mainForm_) mainForm_ = form;
        return form;
    }
    TForm* MainForm() const { return mainForm_; }
    void SetMainForm(TForm* form) { mainForm_ = form; }

    // Shows the main form as the process's show command asks (maximised, minimised) and
    // dispatches messages until Terminate.
    void Run();
    void Terminate();
    bool Terminated() const { return terminated_; }
    // Handles every message now queued, then returns.
    void ProcessMessages();
    // Waits for one message and handles it.
    void HandleMessage();
    // The loop's handling of one message: keyboard preprocessing, translation, dispatch.
    void ProcessMessage(MSG& msg);

    // The executable's name without folder and extension, every character after the first in
    // lower case, unless set otherwise.
    std::string Title() const;
    void SetTitle(const std::string& title) { title_ = title; }
    std::string ExeName() const;

    // Minimises the whole application (the main form, shown without activation if it is not
    // shown yet).
    void Minimize();
    void Restore();
    bool Minimized() const { return minimized_; }

    // The failure display for an error nobody else caught.
    void HandleException(std::exception_ptr error);
    void ShowException(const std::exception& error);

    int HookMainWindow(TWindowHook hook);
    void UnhookMainWindow(int id);
    // Runs the hooks for a message of the main window; true when one handled it.
    bool CallMainWindowHooks(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

    // Whether regional-settings changes reported to the main window are taken over.
    bool UpdateFormatSettings = true;
    // After the hooks, when the system reports changed settings and UpdateFormatSettings holds.
    TNotifyEvent OnSettingsChanged;

    // Destroys the forms (and so every component of the program).
    void Shutdown();

    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TForm;
    void MainFormMinimizedChanged(bool minimized) { minimized_ = minimized; }

    std::vector<std::function<void()>> initProcs_;
    TForm* mainForm_ = nullptr;
    bool terminated_ = false;
    bool minimized_ = false;
    std::string title_;
    struct Hook {
        int id;
        TWindowHook fn;
    };
    std::vector<Hook> hooks_;
    int nextHookId_ = 1;
};

TApplication& Application();

// The application title for an executable path: the file name without folder and extension,
// every character after the first in lower case ("D:\\PROG\\SNIMANJE.EXE" gives "Snimanje").
std::string TitleFromExeName(const std::string& path);

// The text the failure display shows: a period is appended unless the text is empty or its last
// byte is at or below the period ('.', '!', ',', a space ...).
std::string FailureDisplayText(const std::string& message);
