#include "app/timer_control.h"

namespace tovrelle {

TimerControl::~TimerControl() {
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

bool TimerControl::create(HINSTANCE instance, HWND container, int child_number, int period_ms) {
    if (!register_class(instance, 0, nullptr, nullptr)) {
        return false;
    }
    // The period is applied only once the window exists: SetTimer needs the handle.
    if (create_window(0, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, container,
                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_number)),
                      instance) == nullptr) {
        return false;
    }
    TimerService& service = *this;
    period_.emplace(service, period_ms);
    return true;
}

void TimerControl::write_period(int period_ms) {
    if (period_) {
        period_->write(period_ms);
    }
}

void TimerControl::start(int period_ms) {
    SetTimer(hwnd(), kSystemTimerId, static_cast<UINT>(period_ms), nullptr);
}

void TimerControl::stop() {
    KillTimer(hwnd(), kSystemTimerId);
}

LRESULT TimerControl::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_TIMER:
            if (wp == kSystemTimerId && on_periodic) {
                on_periodic();
            }
            return 0;
        case WM_DESTROY:
            if (period_) {
                period_->shutdown();
            }
            return 0;
        default:
            return DefWindowProcW(hwnd(), msg, wp, lp);
    }
}

}  // namespace tovrelle
