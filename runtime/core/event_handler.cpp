#include "event_handler.h"

#include <new>

void RunEventHandler(const std::function<void()>& handler,
                     const std::function<void(const RunTimeError&)>& reportError) {
    try {
        handler();
    } catch (const RunTimeError& error) {
        reportError(error);
    } catch (const std::bad_alloc&) {
        reportError(RunTimeError(RunTimeErrorNumber::OutOfMemory));
    }
}
