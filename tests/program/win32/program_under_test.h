#pragma once

#include <windows.h>

#include <chrono>
#include <string>
#include <string_view>

// The Windows program, started from the folder this test program is in, as
// its user starts it. Closes it when the test is over.
class ProgramUnderTest {
public:
    ProgramUnderTest();
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // The program's main window; nullptr when it did not show one in time.
    HWND Form() const { return form_; }
    // A control of the form, found by its name in the form description.
    HWND Control(std::string_view name) const;

    bool IsRunning() const;
    DWORD ProcessId() const { return process_.dwProcessId; }
    // The exit code once the program has ended; -1 while it runs.
    long ExitCode() const;
    DWORD ThreadId() const { return threadId_; }
    // Waits for the program to end; false when it still runs after the timeout.
    bool WaitForExit(std::chrono::milliseconds timeout) const;
    // Closes the window as its user does; the exit code, or -1 when the
    // program did not end in time.
    long Close();

    // The path of a file beside this test program.
    static std::wstring BesideMe(std::wstring_view fileName);

private:
    PROCESS_INFORMATION process_{};
    HWND form_ = nullptr;
    DWORD threadId_ = 0;
};
