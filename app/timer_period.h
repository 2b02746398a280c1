#pragma once

namespace tovrelle {

// What a timer control asks of the system timer behind it.
class TimerService {
  public:
    virtual ~TimerService() = default;
    virtual void start(int period_ms) = 0;
    virtual void stop() = 0;
};

// Period and running flag of a timer control, with the rules for writing the period:
// a negative period counts as 0, writing the current period changes nothing (a running
// timer keeps its rhythm), any other value restarts the system timer or stops it.
class TimerPeriod {
  public:
    // A positive initial period starts the timer at once.
    TimerPeriod(TimerService& service, int initial_period_ms);

    void write(int period_ms);
    // The timer's window is going away: a running system timer is stopped.
    void shutdown();

    [[nodiscard]] int period() const noexcept { return period_; }
    [[nodiscard]] bool running() const noexcept { return running_; }

  private:
    TimerService& service_;
    int period_ = 0;
    bool running_ = false;
};

}  // namespace tovrelle
