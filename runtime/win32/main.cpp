#include <windows.h>

#include "start.h"

// The command line is not read: the program takes all its input from its window.
int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    return RunProgram(showCommand);
}
