#pragma once

#include <QIcon>

// Tells the toolkit who the program is: its name, its version, the desktop
// entry it is installed with (so that a desktop shows its window under that
// entry) and the window icon. Call once the application object exists.
void SetProgramIdentity();

// The program's icon, the same picture the desktop entry shows, at the sizes
// window decorations and task bars ask for.
QIcon ProgramIcon();
