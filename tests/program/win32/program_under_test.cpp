#include "program_under_test.h"

#include <chrono>
#include <thread>

#include "runtime/win32/win32_layout.h"
#include "window/form2_description.h"

namespace {

constexpr auto StartTimeout = std::chrono::seconds(30);
constexpr DWORD CloseTimeoutMs = 10'000;

struct FormSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchForm(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<FormSearch*>(context);
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    wchar_t caption[16]{};
    GetWindowTextW(window, caption, 16);
    if (processId == search->processId && IsWindowVisible(window) &&
        std::wstring_view(caption) == L"Form2") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

std::wstring ProgramUnderTest::BesideMe(std::wstring_view fileName) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    path.erase(path.find_last_of(L"\\/") + 1);
    return path.append(fileName);
}

ProgramUnderTest::ProgramUnderTest() {
    std::wstring commandLine = L"\"" + BesideMe(L"same-height.exe") + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process_))
        return;
    WaitForInputIdle(process_.hProcess, 10'000);
    const auto deadline = std::chrono::steady_clock::now() + StartTimeout;
    while (form_ == nullptr && std::chrono::steady_clock::now() < deadline && IsRunning()) {
        FormSearch search{process_.dwProcessId, nullptr};
        EnumWindows(MatchForm, reinterpret_cast<LPARAM>(&search));
        form_ = search.found;
        if (form_ == nullptr) std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    if (form_ != nullptr) threadId_ = GetWindowThreadProcessId(form_, nullptr);
}

ProgramUnderTest::~ProgramUnderTest() {
    if (process_.hProcess == nullptr) return;
    if (IsRunning() && Close() < 0) TerminateProcess(process_.hProcess, 1);
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
}

HWND ProgramUnderTest::Control(std::string_view name) const {
    const ControlDescription* control = FindControl(Form2Description(), name);
    return control != nullptr ? GetDlgItem(form_, ControlId(*control)) : nullptr;
}

bool ProgramUnderTest::IsRunning() const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

bool ProgramUnderTest::WaitForExit(std::chrono::milliseconds timeout) const {
    return process_.hProcess != nullptr &&
           WaitForSingleObject(process_.hProcess, static_cast<DWORD>(timeout.count())) ==
               WAIT_OBJECT_0;
}

long ProgramUnderTest::ExitCode() const {
    DWORD exitCode = 0;
    if (IsRunning() || GetExitCodeProcess(process_.hProcess, &exitCode) == FALSE) return -1;
    return static_cast<long>(exitCode);
}

long ProgramUnderTest::Close() {
    PostMessageW(form_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.hProcess, CloseTimeoutMs) != WAIT_OBJECT_0) return -1;
    DWORD exitCode = 0;
    GetExitCodeProcess(process_.hProcess, &exitCode);
    return static_cast<long>(exitCode);
}
