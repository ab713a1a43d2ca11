#include "event_handler.h"

#include <new>

namespace {

// The program has one user-interface thread; every handler runs on it.
bool handlerRunning = false;

class RunningHandler {
public:
    RunningHandler() { handlerRunning = true; }
    ~RunningHandler() { handlerRunning = false; }
    RunningHandler(const RunningHandler&) = delete;
    RunningHandler& operator=(const RunningHandler&) = delete;
};

} // namespace

bool RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const RunTimeError&)>& reportError) {
    if (handlerRunning) return false;
    const RunningHandler running;
    try {
        try {
            handler();
        } catch (const RunTimeError& error) {
            reportError(error);
        } catch (const std::bad_alloc&) {
            reportError(RunTimeError(RunTimeErrorNumber::OutOfMemory));
        }
    } catch (const FormGone&) {
        // Nothing to report to: the form has gone, with the handler's box or
        // with its error box.
    }
    return true;
}
