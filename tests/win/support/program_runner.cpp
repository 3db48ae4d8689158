#include "support/program_runner.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

std::string ProgramPath() {
    const char* buildDir = std::getenv("DECKHAND_BUILD_DIR");
    std::string path = buildDir != nullptr ? buildDir : ".";
    return path + "\\app\\NorvikDeckhand.exe";
}

RunningProgram::RunningProgram(const std::string& arguments) {
    std::string commandLine = "\"" + ProgramPath() + "\"";
    if (!arguments.empty()) {
        commandLine += " " + arguments;
    }
    std::vector<char> writable(commandLine.begin(), commandLine.end());
    writable.push_back('\0');
    // Wine now and then fails a CreateProcess with ERROR_INTERNAL_ERROR: no process is made, so
    // it says nothing about the program, and the start is tried again.
    constexpr int Attempts = 3;
    for (int attempt = 0; attempt < Attempts && process_ == nullptr; ++attempt) {
        STARTUPINFOA startup = {};
        startup.cb = sizeof(startup);
        PROCESS_INFORMATION info = {};
        startTick_ = GetTickCount();
        if (CreateProcessA(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &info)) {
            CloseHandle(info.hThread);
            process_ = info.hProcess;
            processId_ = info.dwProcessId;
            startError_ = ERROR_SUCCESS;
        } else {
            startError_ = GetLastError();
            if (startError_ != ERROR_INTERNAL_ERROR) {
                break;
            }
            Sleep(200);
        }
    }
}

RunningProgram::~RunningProgram() {
    if (process_ != nullptr) {
        if (IsRunning()) {
            TerminateProcess(process_, 99);
            WaitForSingleObject(process_, 5000);
        }
        CloseHandle(process_);
    }
}

bool RunningProgram::WaitForExit(DWORD timeoutMs, DWORD& exitCode) {
    if (process_ == nullptr || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) {
        return false;
    }
    elapsedMs_ = GetTickCount() - startTick_;
    return GetExitCodeProcess(process_, &exitCode) != 0;
}

bool RunningProgram::IsRunning() {
    return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

DWORD RunProgram(const std::string& arguments, DWORD timeoutMs, DWORD* elapsedMs) {
    RunningProgram program(arguments);
    EXPECT_TRUE(program.Started()) << ProgramPath() << " " << arguments << ": error "
                                   << program.StartError();
    DWORD exitCode = 0xFFFFFFFF;
    EXPECT_TRUE(program.WaitForExit(timeoutMs, exitCode)) << "still running: " << arguments;
    if (elapsedMs != nullptr) {
        *elapsedMs = program.ElapsedMs();
    }
    return exitCode;
}
