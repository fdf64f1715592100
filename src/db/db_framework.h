#pragma once
// The database-access framework as far as the program has it: it comes up and goes down with
// the program (component object model, sessions, locks) though no backup step uses it. Held
// only, past its start-up and shutdown: nothing in this program reads the sessions or takes
// the locks.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class TApplication;

class TSession {
public:
    explicit TSession(std::string name) : name_(std::move(name)) {}
    const std::string& SessionName() const { return name_; }

private:
    std::string name_;
};

class TSessionList {
public:
    TSession& Add(const std::string& name);
    // By name without regard to ASCII case; nullptr when none.
    TSession* FindSession(const std::string& name) const;
    int Count() const { return static_cast<int>(sessions_.size()); }
    void Clear() { sessions_.clear(); }

private:
    std::vector<std::unique_ptr<TSession>> sessions_;
};

class TDatabaseFramework {
public:
    ~TDatabaseFramework();

    // The module's start-up part: the session list with "Default", the two locks and, unless
    // the program is a library, a start-up hook on the application that initialises COM.
    void Startup(TApplication& application, bool isLibrary = false);
    // The shutdown part, the reverse: locks, sessions, the busy-cursor
    // timer, and COM if its initialisation succeeded.
    void Shutdown();

    bool Started() const { return started_; }
    bool ComInitialized() const { return comInitialized_; }
    TSessionList& Sessions() { return sessions_; }
    TSession* DefaultSession() const { return sessions_.FindSession("Default"); }

private:
    void InitializeCom();

    bool started_ = false;
    bool comInitialized_ = false;
    TSessionList sessions_;
    CRITICAL_SECTION sessionLock_{};
    CRITICAL_SECTION cursorLock_{};
    UINT_PTR busyCursorTimer_ = 0;
};

TDatabaseFramework& DatabaseFramework();
