// A timer control: an invisible child window of its own class that owns one system timer.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "app/timer_period.h"
#include "base/window_base.h"

namespace tovrelle {

class TimerControl : public WindowBase<TimerControl>, private TimerService {
  public:
    static constexpr const wchar_t* kClassName = L"TovrelleTimer";
    static constexpr UINT_PTR kSystemTimerId = 1000;

    TimerControl() = default;
    ~TimerControl();

    // Creates the (never shown) window; a positive period starts the timer at once.
    bool create(HINSTANCE instance, HWND container, int child_number, int period_ms);

    void write_period(int period_ms);
    [[nodiscard]] int period() const { return period_ ? period_->period() : 0; }
    [[nodiscard]] bool running() const { return period_ && period_->running(); }

    std::function<void()> on_periodic;

  private:
    friend class WindowBase<TimerControl>;
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);

    void start(int period_ms) override;
    void stop() override;

    std::optional<TimerPeriod> period_;
};

}  // namespace tovrelle
