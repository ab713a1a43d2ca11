// How soon the box for a report with a very long name appears, from the
// call that shows it to the box running its message loop on screen, for
// names of growing length. Run by hand under Wine, on an X display:
//   xvfb-run -a build/windows64/run-under-wine build/windows64/bin/long_prompt_bench.exe
// Prints one line per length: the median of five boxes, in milliseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "runtime/win32/win32_message_box.h"

namespace {

LARGE_INTEGER Now() {
    LARGE_INTEGER now{};
    QueryPerformanceCounter(&now);
    return now;
}

LARGE_INTEGER shownAt{};

// The box's own loop runs the thread's timer once the box is up: that is
// when the user sees it. The box is then dismissed.
void CALLBACK OnTimer(HWND /*window*/, UINT /*message*/, UINT_PTR /*id*/, DWORD /*time*/) {
    HWND box = GetActiveWindow();
    if (box == nullptr || !IsWindowVisible(box)) return;
    if (shownAt.QuadPart == 0) shownAt = Now();
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

double MillisecondsToBox(std::u16string_view prompt) {
    shownAt = {};
    const UINT_PTR timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, OnTimer);
    const LARGE_INTEGER start = Now();
    ShowMessageBox(nullptr, prompt);
    KillTimer(nullptr, timer);
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(shownAt.QuadPart - start.QuadPart) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

} // namespace

int main() {
    for (const std::size_t length :
         {std::size_t{10}, std::size_t{10'000}, std::size_t{1'000'000}}) {
        const std::u16string name(length, u'x');
        const std::u16string prompt = u"Найдена пара мужчин: " + name + u"   " + name;
        std::vector<double> times;
        for (int run = 0; run < 5; ++run)
            times.push_back(MillisecondsToBox(prompt));
        std::sort(times.begin(), times.end());
        std::printf("name of %zu letters: box after %.1f ms (median of 5)\n", length, times[2]);
    }
    return 0;
}
