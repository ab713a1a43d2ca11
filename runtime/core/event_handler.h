#pragma once

#include <functional>

#include "run_time_error.h"

// Runs one event handler. A run-time error it raises abandons the handler and
// is shown through reportError; the program then goes on with its message
// loop, so the people already entered are kept. Running out of memory is
// reported as error 7.
void RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const RunTimeError&)>& reportError);
