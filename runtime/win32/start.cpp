#include "start.h"

#include <windows.h>

#include <commctrl.h>
#include <cstdlib>

#include "win32_form_window.h"
#include "win32_message_box.h"
#include "window/form2_program.h"

namespace {

// The manifest asks for version 6 of the common controls, which draw the
// controls in the system's visual style; they must be loaded first.
void LoadCommonControls() {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    InitCommonControlsEx(&controls);
}

int RunMessageLoop(Win32FormWindow& window) {
    MSG message{};
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (window.HandleDialogMessage(message)) continue;
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

} // namespace

int RunProgram(int showCommand) {
    LoadCommonControls();
    try {
        Form2Program<Win32FormWindow> program;
        program.Window().QuitWhenClosed();
        program.Window().Show(showCommand);
        return RunMessageLoop(program.Window());
    } catch (const RunTimeError& error) {
        // The window could not be made: say why instead of vanishing.
        ShowRunTimeErrorBox(nullptr, error);
        return EXIT_FAILURE;
    }
}
