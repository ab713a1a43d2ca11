#include "box_answerer.h"

#include <utility>

BoxAnswerer::BoxAnswerer(HWND owner, Answer answer, Delivery delivery)
    : owner_(owner), answer_(std::move(answer)), delivery_(delivery) {
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 10, &OnTimer);
}

BoxAnswerer::~BoxAnswerer() {
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

namespace {

// A box that the answer closed is gone long before this; the limit only
// allows for a slow, busy machine.
constexpr DWORD StaysOpenAfter = 10000;

bool IsReadyForInput(HWND box) {
    if (GetForegroundWindow() != box || GetActiveWindow() != box) return false;
    HWND focus = GetFocus();
    return focus == box || IsChild(box, focus);
}

} // namespace

void CALLBACK BoxAnswerer::OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    BoxAnswerer* self = current_;
    if (self == nullptr) return;
    HWND box = FindMessageBox(self->owner_);
    if (box == nullptr) return;
    if (box == self->answered_) {
        if (!self->gaveUp_ && GetTickCount() - self->answeredAt_ > StaysOpenAfter) {
            self->gaveUp_ = true;
            ++self->boxesThatStayedOpen;
            PressOk(box);
        }
        return;
    }
    // Keys go to the active window: a box that is visible but not yet
    // active (Wine activates it a moment later on a busy machine) would let
    // the answer's keys fall on the disabled owner and the box stay open.
    if (self->delivery_ == Delivery::ThroughInput && !IsReadyForInput(box)) return;
    self->answered_ = box;
    self->answeredAt_ = GetTickCount();
    self->gaveUp_ = false;
    self->boxes.push_back(ReadMessageBox(box));
    if (IsWindowEnabled(self->owner_)) self->ownerTookInputWhileABoxWasOpen = true;
    self->answer_(box, self->boxes.size() - 1);
}

DialogCounter::DialogCounter(std::size_t limit) : limit_(limit) {
    current_ = this;
    hook_ = SetWindowsHookExW(WH_CBT, &OnCbt, nullptr, GetCurrentThreadId());
}

DialogCounter::~DialogCounter() {
    UnhookWindowsHookEx(hook_);
    current_ = nullptr;
}

LRESULT CALLBACK DialogCounter::OnCbt(int code, WPARAM wParam, LPARAM lParam) {
    DialogCounter* self = current_;
    if (self != nullptr && code == HCBT_CREATEWND &&
        WindowClass(reinterpret_cast<HWND>(wParam)) == L"#32770") {
        if (self->created_ >= self->limit_) {
            ++self->refused_;
            return 1; // the window is not made
        }
        ++self->created_;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
