#pragma once

// One backend that includes the other.
#include "runtime/win32/win32_text.h"
