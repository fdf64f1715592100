#pragma once
// snimanje_backup.exe (BACKUP_DRIVER_EXE) started as another process, for the tests that run
// whole backups beside the one they drive or stop one from outside.
#include <windows.h>

#include <string>

// One run of the driver, its standard output and error read through a pipe.
class BackupDriver {
public:
    // options: put in front of the folders.
    BackupDriver(const std::string& programFolder, const std::string& target, const std::string& year = "2024",
                 const std::string& options = "") {
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        HANDLE write = nullptr;
        if (!CreatePipe(&read_, &write, &inherit, 1 << 16)) return;
        SetHandleInformation(read_, HANDLE_FLAG_INHERIT, 0);
        std::string command = std::string("\"") + BACKUP_DRIVER_EXE + "\" " + options + " " + programFolder + " " +
                              target + " " + year;
        STARTUPINFOA si{};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        si.hStdOutput = si.hStdError = write;
        started_ = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &process_);
        CloseHandle(write);
    }
    ~BackupDriver() {
        if (read_) CloseHandle(read_);
        if (!started_) return;
        Kill();
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    BackupDriver(const BackupDriver&) = delete;
    BackupDriver& operator=(const BackupDriver&) = delete;

    bool Started() const { return started_; }
    // Everything the run wrote, once it has ended.
    std::string Output() {
        std::string text;
        char buffer[4096];
        DWORD got;
        while (ReadFile(read_, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
        return text;
    }
    // The exit code; -1 when it did not end within a minute.
    int Wait() {
        if (WaitForSingleObject(process_.hProcess, 60000) != WAIT_OBJECT_0) return -1;
        DWORD code = 0;
        GetExitCodeProcess(process_.hProcess, &code);
        return static_cast<int>(code);
    }
    bool Running() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT; }
    void Kill() {
        TerminateProcess(process_.hProcess, 9);
        WaitForSingleObject(process_.hProcess, 10000);
    }

private:
    bool started_ = false;
    HANDLE read_ = nullptr;
    PROCESS_INFORMATION process_{};
};
