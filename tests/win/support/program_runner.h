#pragma once

#include <windows.h>

#include <string>

// NorvikDeckhand.exe of this build, started as a user would start it.
std::string ProgramPath();

class RunningProgram {
public:
    explicit RunningProgram(const std::string& arguments);
    ~RunningProgram();
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    bool Started() const { return process_ != nullptr; }
    // Why CreateProcess failed, when it did.
    DWORD StartError() const { return startError_; }
    DWORD ProcessId() const { return processId_; }
    // Waits for the process to end; false on timeout.
    bool WaitForExit(DWORD timeoutMs, DWORD& exitCode);
    bool IsRunning();
    // Milliseconds from the start to the end that WaitForExit saw.
    DWORD ElapsedMs() const { return elapsedMs_; }

private:
    HANDLE process_ = nullptr;
    DWORD processId_ = 0;
    DWORD startTick_ = 0;
    DWORD elapsedMs_ = 0;
    DWORD startError_ = ERROR_SUCCESS;
};

// Starts the program, waits at most timeoutMs for it to end and gives its exit code; fails the
// test (and kills the program) when it does not end.
DWORD RunProgram(const std::string& arguments, DWORD timeoutMs = 60000, DWORD* elapsedMs = nullptr);
