#include <iostream>
#include <string>

#include "form_state.h"
#include "program_under_test.h"

// Starts the Windows program beside it, as its user starts it, and answers
// the user-action driver (tests/program/run_user_actions.py) on its standard
// input and output, one line each: "state" asks what the program shows now,
// as JSON; "end" closes the program, if it still runs, and ends the probe.
// The driver gives the input itself, as real key presses and clicks on the
// X display that Wine draws on.

namespace {

std::string ProgramJson(const ProgramUnderTest& program, const FormWindows& windows) {
    if (!program.IsRunning())
        return "{\"running\":false,\"exit_code\":" + std::to_string(program.ExitCode()) + "}";
    return "{\"running\":true,\"state\":" + FormStateJson(windows) + "}";
}

} // namespace

int main() {
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ProgramUnderTest program;
    if (program.Form() == nullptr) {
        std::cout << "{\"running\":" << (program.IsRunning() ? "true" : "false")
                  << ",\"error\":\"the program showed no Form2\"}" << std::endl;
        return 1;
    }
    FormWindows windows{program.Form(), 0, program.ThreadId()};
    GetWindowThreadProcessId(program.Form(), &windows.processId);
    std::cout << "{\"ready\":true}" << std::endl;
    for (std::string request; std::getline(std::cin, request);) {
        if (!request.empty() && request.back() == '\r') request.pop_back();
        if (request == "state") {
            std::cout << ProgramJson(program, windows) << std::endl;
        } else if (request == "end") {
            break;
        } else {
            std::cout << "{\"error\":\"unknown request\"}" << std::endl;
        }
    }
    CoUninitialize();
    return 0;
}
