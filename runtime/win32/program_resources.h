#pragma once

// The resource numbers the program's resource script and its code share.

// The program's icon. The first icon of the file is the one Explorer shows for
// it; the window class takes it for the title bar and the taskbar.
#define PROGRAM_ICON_ID 1
