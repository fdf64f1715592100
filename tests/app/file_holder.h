#pragma once
// Another program (tests/app/helpers/file_holder) that has a file open with the access and
// sharing given, for as long as the object lives.
#include <windows.h>

#include <string>

class FileHolder {
public:
    enum Mode { Hold, Rewrite, Scan, Lock };
    // access: "r", "w", "rw" or "-"; sharing the same, "d" added to share deletion. Rewrite: the
    // holder writes the file's first page every 10 ms, as a database server does. Scan: the
    // holder opens every new file of that name for a moment as soon as it can, as a virus
    // scanner does with a file just written; the file need not exist yet. Lock: the holder takes
    // the machine-wide lock of path as a running backup does (access and sharing: "-").
    FileHolder(const std::string& path, const char* access, const char* sharing, Mode mode = Hold) {
        const std::string event = "file_holder_ready_" + std::to_string(GetCurrentProcessId()) + "_" +
                                  std::to_string(++count_);
        HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
        std::string command = std::string("\"") + FILE_HOLDER_EXE + "\" \"" + path + "\" " + access + " " + sharing +
                              " " + event +
                              (mode == Rewrite ? " rewrite" : mode == Scan ? " scan" : mode == Lock ? " lock" : "");
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &process_)) {
            HANDLE waits[] = {ready, process_.hProcess};
            held_ = WaitForMultipleObjects(2, waits, FALSE, 120000) == WAIT_OBJECT_0;
        }
        CloseHandle(ready);
    }
    ~FileHolder() {
        if (!process_.hProcess) return;
        TerminateProcess(process_.hProcess, 0);
        WaitForSingleObject(process_.hProcess, 5000);
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // The holder has the file open.
    bool Held() const { return held_; }

private:
    static inline int count_ = 0;
    PROCESS_INFORMATION process_{};
    bool held_ = false;
};
