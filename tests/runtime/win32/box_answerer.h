#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <vector>

#include "win32_probe.h"

// Answers the message boxes that this thread opens over the owner while it
// lives: a thread timer fires inside each box's own message loop, reads the
// box and hands it to the answer, which by default presses OK.
class BoxAnswerer {
public:
    // Called once for each box, with its place in the series (0 first).
    using Answer = std::function<void(HWND box, std::size_t index)>;

    // An answer that goes through the input queue (keys, the mouse) waits
    // until the box is the active window with the focus inside it.
    enum class Delivery { ToTheBox, ThroughInput };

    explicit BoxAnswerer(HWND owner, Answer answer = PressOkOf,
                         Delivery delivery = Delivery::ToTheBox);
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    static void PressOkOf(HWND box, std::size_t /*index*/) { PressOk(box); }

    std::vector<MessageBoxView> boxes;
    bool ownerTookInputWhileABoxWasOpen = false;
    // Boxes that the answer should have closed but that were still open ten
    // seconds later; OK was pressed for them.
    int boxesThatStayedOpen = 0;

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);

    static inline BoxAnswerer* current_ = nullptr;
    HWND owner_;
    Answer answer_;
    Delivery delivery_;
    HWND answered_ = nullptr;
    DWORD answeredAt_ = 0;
    bool gaveUp_ = false;
    UINT_PTR timer_ = 0;
};

// Counts the dialog boxes (message boxes among them) that this thread
// creates while it lives, owned or not, and refuses to create any beyond the
// limit, so that a handler that goes on showing boxes ends quickly.
class DialogCounter {
public:
    explicit DialogCounter(std::size_t limit);
    ~DialogCounter();
    DialogCounter(const DialogCounter&) = delete;
    DialogCounter& operator=(const DialogCounter&) = delete;

    std::size_t Created() const { return created_; }
    std::size_t Refused() const { return refused_; }

private:
    static LRESULT CALLBACK OnCbt(int code, WPARAM wParam, LPARAM lParam);

    static inline DialogCounter* current_ = nullptr;
    std::size_t limit_;
    std::size_t created_ = 0;
    std::size_t refused_ = 0;
    HHOOK hook_ = nullptr;
};
