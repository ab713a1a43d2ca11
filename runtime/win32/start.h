#pragma once

// Shows Form2 and runs the message loop until the window is closed. Returns
// the process's exit code.
int RunProgram(int showCommand);
