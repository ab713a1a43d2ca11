#pragma once

// Window code that includes a backend and a system header.
#include <windows.h>

#include "runtime/core/val.h"
#include "runtime/qt/qt_form_window.h"
