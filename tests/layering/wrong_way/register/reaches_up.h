#pragma once

// Register code that reaches up into the window and climbs out of its folder.
#include "../runtime/core/val.h"
#include "window/form2.h"
