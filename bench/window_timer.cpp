// Starts a program and reports how long it took from its start until the X
// server mapped its window of the given title, until the window's first
// picture reached the screen, and how much memory the program holds once
// the window is shown.
//
//   window_timer TITLE SETTLE_MS PROGRAM [ARGUMENT...]
//
// Prints one line of key=value figures:
//   map_ms    from just before the process is created until the map is seen;
//   paint_ms  until the window's top-left pixel is no longer the black of
//             the root window behind it (run the X server with a black root
//             window, Xvfb -br): the first frame the program drew;
//   rss_kib   resident memory SETTLE_MS after the first frame, split into
//             anon_kib, file_kib and shmem_kib as /proc shows them;
//   cpu_ms    processor time the program used in all, all threads together,
//             from its start until it is stopped with SIGTERM after that
//             (unlike the times above, it does not grow when other work on
//             the machine takes the processor). Exits non-zero when the window
// does not show within 120 seconds (a program run under callgrind takes
// tens of seconds to show its window).
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto GiveUpAfter = std::chrono::seconds(120);

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A window that goes away while it is looked at is not a reason to stop.
int IgnoreXError(Display* /*display*/, XErrorEvent* /*event*/) { return 0; }

std::string WindowTitle(Display* display, Window window) {
    // _NET_WM_NAME holds UTF-8; older clients set only WM_NAME.
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    std::string title;
    if (XGetWindowProperty(display, window, netWmName, 0, 1024, False, utf8, &type, &format, &count,
                           &after, &data) == Success &&
        data != nullptr) {
        title.assign(reinterpret_cast<char*>(data), count);
        XFree(data);
        return title;
    }
    char* name = nullptr;
    if (XFetchName(display, window, &name) != 0 && name != nullptr) {
        title = name;
        XFree(name);
    }
    return title;
}

// Waits for a MapNotify of a top-level window with the title; None on
// timeout or when the program has already ended.
Window WaitForMap(Display* display, const std::string& title, pid_t program,
                  Clock::time_point start) {
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (Clock::now() - start < GiveUpAfter) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && WindowTitle(display, event.xmap.window) == title)
                return event.xmap.window;
        }
        if (waitpid(program, nullptr, WNOHANG) == program) return None;
        poll(&connection, 1, 50);
    }
    return None;
}

long PixelAt(Display* display, Window window, int x, int y) {
    XImage* image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return -1;
    const long pixel = static_cast<long>(XGetPixel(image, 0, 0));
    XDestroyImage(image);
    return pixel;
}

// Neither the program nor the floor gives its window a background of the
// X server's: until the program first draws, the window shows the black
// root window behind it (Xvfb -br). Both draw their background first, so
// the top-left pixel leaves black with the first frame. Polled every half
// millisecond; false when nothing is drawn before the deadline.
bool WaitForFirstFrame(Display* display, Window window, Clock::time_point start) {
    constexpr long Black = 0;
    while (Clock::now() - start < GiveUpAfter) {
        if (PixelAt(display, window, 1, 1) != Black) return true;
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    return false;
}

std::map<std::string, long> MemoryOf(pid_t program) {
    std::map<std::string, long> kib{
        {"VmRSS:", -1}, {"RssAnon:", -1}, {"RssFile:", -1}, {"RssShmem:", -1}};
    std::ifstream status("/proc/" + std::to_string(program) + "/status");
    std::string key;
    while (status >> key) {
        if (kib.contains(key)) status >> kib[key];
        status.ignore(1 << 16, '\n');
    }
    return kib;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE SETTLE_MS PROGRAM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const auto settle = std::chrono::milliseconds(std::atoi(argv[2]));

    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "window_timer: cannot open the display\n");
        return 2;
    }
    XSetErrorHandler(IgnoreXError);
    // Every top-level window's map is reported to the root window's
    // substructure listeners, with or without a window manager.
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const Clock::time_point start = Clock::now();
    pid_t program = 0;
    if (posix_spawn(&program, argv[3], nullptr, nullptr, argv + 3, environ) != 0) {
        std::perror("window_timer: cannot start the program");
        return 2;
    }
    const Window window = WaitForMap(display, title, program, start);
    const double mapMs = MsSince(start);
    const bool painted = window != None && WaitForFirstFrame(display, window, start);
    const double paintMs = MsSince(start);
    std::map<std::string, long> kib;
    if (painted) {
        std::this_thread::sleep_for(settle);
        kib = MemoryOf(program);
    } else {
        std::fprintf(stderr, "window_timer: no window \"%s\" was shown\n", title.c_str());
    }
    kill(program, SIGTERM);
    rusage usage{};
    wait4(program, nullptr, 0, &usage);
    XCloseDisplay(display);
    if (!painted) return 1;
    const double cpuMs = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 +
                         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    std::printf("map_ms=%.2f paint_ms=%.2f rss_kib=%ld anon_kib=%ld file_kib=%ld shmem_kib=%ld "
                "cpu_ms=%.2f\n",
                mapMs, paintMs, kib["VmRSS:"], kib["RssAnon:"], kib["RssFile:"], kib["RssShmem:"],
                cpuMs);
    return 0;
}
