#include "app/timer_period.h"

namespace tovrelle {

TimerPeriod::TimerPeriod(TimerService& service, int initial_period_ms) : service_(service) {
    if (initial_period_ms > 0) {
        period_ = initial_period_ms;
        service_.start(period_);
        running_ = true;
    }
}

void TimerPeriod::write(int period_ms) {
    const int v = period_ms < 0 ? 0 : period_ms;
    if (v == period_) {
        return;
    }
    period_ = v;
    if (running_) {
        service_.stop();
    }
    if (v > 0) {
        service_.start(v);
        running_ = true;
    } else {
        running_ = false;
    }
}

void TimerPeriod::shutdown() {
    if (running_) {
        service_.stop();
        running_ = false;
    }
}

}  // namespace tovrelle
