#include "db/db_framework.h"

#include <objbase.h>

#include "core/text.h"
#include "toolkit/application.h"

TSession& TSessionList::Add(const std::string& name) {
    sessions_.push_back(std::make_unique<TSession>(name));
    return *sessions_.back();
}

TSession* TSessionList::FindSession(const std::string& name) const {
    for (const auto& s : sessions_)
        if (SameTextAscii(s->SessionName(), name)) return s.get();
    return nullptr;
}

TDatabaseFramework::~TDatabaseFramework() { Shutdown(); }

void TDatabaseFramework::Startup(TApplication& application, bool isLibrary) {
    if (started_) return;
    started_ = true;
    if (!isLibrary) application.AddInitProc([this] { InitializeCom(); });
    sessions_.Add("Default");
    InitializeCriticalSection(&sessionLock_);
    InitializeCriticalSection(&cursorLock_);
}

void TDatabaseFramework::InitializeCom() {
    HRESULT hr = CoInitialize(nullptr);
    comInitialized_ = hr >= 0;
}

void TDatabaseFramework::Shutdown() {
    if (!started_) return;
    started_ = false;
    DeleteCriticalSection(&cursorLock_);
    DeleteCriticalSection(&sessionLock_);
    sessions_.Clear();
    if (busyCursorTimer_) KillTimer(nullptr, busyCursorTimer_);
    busyCursorTimer_ = 0;
    if (comInitialized_) CoUninitialize();
    comInitialized_ = false;
}

TDatabaseFramework& DatabaseFramework() {
    static TDatabaseFramework framework;
    return framework;
}
