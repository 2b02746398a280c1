// The power buttons, the refusal notice and the scheduled checks on a real window under Wine.
// No test here lets a request reach ExitWindowsEx: Wine would end every process of the prefix,
// this one included. The seam takes a recording fake instead; the real calls are exercised up
// to the privilege step.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/notice_box.h"
#include "app/program.h"
#include "power/clock.h"
#include "power/power_request.h"
#include "power/scheduled_power.h"
#include "power/wiring.h"
#include "tests/support/recording_power_requests.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

// ---- a recording fake of the Windows calls ----

class FakePowerCalls : public PowerCalls {
  public:
    std::uint32_t adjust_error = 0;
    bool windows_accepts = true;
    std::uint32_t refusal_error = 0;

    std::vector<std::uint32_t> exit_flags;
    std::vector<std::uint32_t> exit_reasons;
    std::vector<SYSTEMTIME> exit_times;  // the local time of each ExitWindowsEx
    int open_tokens = 0;

    bool nt_platform() override { return true; }
    OpenedToken open_process_token() override {
        ++open_tokens;
        return {1, 0};
    }
    LookedUp lookup_shutdown_privilege() override { return {Luid{19, 0}, 0}; }
    std::uint32_t adjust_token_privileges(TokenNumber, const Luid&) override {
        return adjust_error;
    }
    Outcome exit_windows(std::uint32_t flags, std::uint32_t reason) override {
        exit_flags.push_back(flags);
        exit_reasons.push_back(reason);
        SYSTEMTIME now;
        GetLocalTime(&now);
        exit_times.push_back(now);
        return {windows_accepts, windows_accepts ? 0 : refusal_error};
    }
    Outcome set_system_power_state(bool, bool) override { return {windows_accepts, 0}; }
    void close_token(TokenNumber) override { --open_tokens; }
};

// ---- notices: recorded, or the real box read from another thread ----

struct Notice {
    std::wstring text;
    std::wstring title;
    friend bool operator==(const Notice&, const Notice&) = default;
};

std::vector<Notice> g_notices;

// Records each notice, or passes it on to the real box.
class RecordingNotices : public NoticeBox {
  public:
    bool real_box = false;
    void show(std::wstring_view text, std::wstring_view title) override {
        if (real_box) {
            windows_notice_box().show(text, title);
        } else {
            g_notices.push_back({std::wstring(text), std::wstring(title)});
        }
    }
};

// What a user sees of an open message box.
struct SeenBox {
    bool found = false;
    std::wstring text;
    bool shows_icon = false;
    std::vector<std::wstring> buttons;
    int ok_button_id = 0;
    bool owner_enabled_while_open = true;  // the main window, while the box is up
};

// Waits for the box with this title (on the test thread's modal loop), reads it, and dismisses
// it with its one button, after keep_open.
std::thread watch_box(const std::wstring& title, HWND main_window,
                      std::chrono::milliseconds keep_open, SeenBox& seen) {
    return std::thread([title, main_window, keep_open, &seen] {
        HWND box = nullptr;
        for (int i = 0; i < 500 && box == nullptr; ++i) {
            box = FindWindowW(L"#32770", title.c_str());
            if (box == nullptr) {
                Sleep(10);
            }
        }
        // The box is found while it is still being built; read it once it shows.
        for (int i = 0; i < 200 && box != nullptr && !IsWindowVisible(box); ++i) {
            Sleep(10);
        }
        if (box == nullptr || !IsWindowVisible(box)) {
            return;
        }
        Sleep(100);
        seen.found = true;
        for (HWND child = GetWindow(box, GW_CHILD); child != nullptr;
             child = GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring cls = test::class_name(child);
            if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
                if (IsWindowVisible(child) && SendMessageW(child, STM_GETICON, 0, 0) != 0) {
                    seen.shows_icon = true;
                }
                const std::wstring t = test::window_text(child);
                if (!t.empty()) {
                    seen.text += t;
                }
            } else if (lstrcmpiW(cls.c_str(), L"Button") == 0 && IsWindowVisible(child)) {
                seen.buttons.push_back(test::window_text(child));
                seen.ok_button_id = GetDlgCtrlID(child);
            }
        }
        if (main_window != nullptr) {
            seen.owner_enabled_while_open = IsWindowEnabled(main_window) != FALSE;
        }
        Sleep(static_cast<DWORD>(keep_open.count()));
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(seen.ok_button_id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(box, seen.ok_button_id)));
    });
}

// Wine 8's words for the error codes the tests provoke, from its message table in an English
// locale (the tests' own): written out, so that a check never compares FormatMessageW with
// itself.
std::wstring wine_text(DWORD code) {
    switch (code) {
        case ERROR_NOT_ALL_ASSIGNED:
            return L"Not all privileges assigned.";
        case ERROR_ACCESS_DENIED:
            return L"Access denied.";
        case ERROR_SHUTDOWN_IN_PROGRESS:
            return L"Shutdown in progress.";
        default:
            ADD_FAILURE() << "no text written down for error " << code;
            return L"";
    }
}

class PowerTest : public ::testing::Test {
  protected:
    void SetUp() override { g_notices.clear(); }

    FakePowerCalls fake;
    RecordingNotices notices;
    int suffix_changes = 0;
};

// ---- the real calls, up to the privilege step ----

TEST(WindowsPowerCalls, PrivilegeStepSucceedsUnderWine) {
    PowerCalls& calls = windows_power_calls();
    EXPECT_TRUE(calls.nt_platform());
    const PowerCalls::OpenedToken token = calls.open_process_token();
    ASSERT_NE(token.token, 0u) << token.error;
    const PowerCalls::LookedUp privilege = calls.lookup_shutdown_privilege();
    ASSERT_TRUE(privilege.luid.has_value()) << privilege.error;
    EXPECT_EQ(calls.adjust_token_privileges(token.token, *privilege.luid), 0u);
    calls.close_token(token.token);
    // The handle is really gone.
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(reinterpret_cast<HANDLE>(token.token), &flags));
}

// Pinned to Wine's words, so that a wrong code, a line break left at the end, or text cut at
// a fixed length shows.
TEST(WindowsPowerCalls, ErrorTextIsWindowsOwn) {
    for (DWORD code : {ERROR_NOT_ALL_ASSIGNED, ERROR_ACCESS_DENIED, ERROR_SHUTDOWN_IN_PROGRESS}) {
        EXPECT_EQ(system_error_text(code), wine_text(code)) << "error " << code;
    }
    // A code Windows has no words for still says something.
    EXPECT_EQ(system_error_text(0x2FFFFFFF), L"错误代码 805306367");
}

// ---- the buttons, through the program's own wiring ----

class WiredProgramTest : public PowerTest {
  protected:
    void SetUp() override {
        PowerTest::SetUp();
        // The real clock and power requests; the calls and the notices recorded.
        wire_power(program, PowerParts{fake, windows_power_requests(), windows_clock(), notices});
        program.state().status_suffix.listen([this] { ++suffix_changes; });
        ASSERT_TRUE(program.window().create(GetModuleHandleW(nullptr), false));
    }
    void click(Identity button) { SendMessageW(program.window().control(button), BM_CLICK, 0, 0); }
    Program program;
};

TEST_F(WiredProgramTest, EachPowerButtonMakesOneUnforcedRequest) {
    const struct {
        Identity button;
        std::uint32_t flags;
    } cases[] = {{ids::按钮1, 0x8}, {ids::按钮2, 0x2}, {ids::按钮5, 0x0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        fake.exit_flags.clear();
        click(c.button);
        EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{c.flags});
        EXPECT_EQ(fake.exit_reasons, std::vector<std::uint32_t>{kPlannedShutdownReason});
        fake.exit_reasons.clear();
        EXPECT_EQ(fake.open_tokens, 0);
    }
    EXPECT_TRUE(g_notices.empty());
}

TEST_F(WiredProgramTest, ScheduledShutdownFiresInTheTargetSecondOnTheRealClock) {
    const std::int64_t target_s = seconds_of(read_clock()) + 2;
    const DateTime target = date_time_of(target_s);
    SetWindowTextW(program.window().control(ids::编辑框1), std::to_wstring(target.hour).c_str());
    SetWindowTextW(program.window().control(ids::编辑框2), std::to_wstring(target.minute).c_str());
    SetWindowTextW(program.window().control(ids::编辑框3), std::to_wstring(target.second).c_str());
    click(ids::按钮3);
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].title, L"定时关机成功");
    EXPECT_EQ(program.state().status_suffix.text(), L"  " + g_notices[0].text);
    EXPECT_EQ(suffix_changes, 1);
    ASSERT_TRUE(test::pump_until([&] { return !fake.exit_flags.empty(); }, 5000ms));
    EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{0x8});
    const SYSTEMTIME& at = fake.exit_times[0];
    // Within the target second, or the next when the timer's drift carried it over.
    const std::int64_t late =
        seconds_of(DateTime{at.wYear, at.wMonth, at.wDay, at.wHour, at.wMinute, at.wSecond}) -
        target_s;
    EXPECT_TRUE(late == 0 || late == 1) << late;
    test::pump(1500ms);
    EXPECT_EQ(fake.exit_flags.size(), 1u) << "a check fired twice";
}

// ---- refusals: the real notice box ----

struct RefusalCase {
    PowerAction action;
    Identity button;
    std::uint32_t adjust_error;   // the privilege step's verdict
    std::uint32_t refusal_error;  // ExitWindowsEx's, 0 when it accepts
    const wchar_t* title;         // empty: no notice
    DWORD shown_error;
};

TEST_F(WiredProgramTest, RefusalsShowWindowsOwnMessageInATaskModalBox) {
    notices.real_box = true;
    HWND main = program.window().hwnd();
    ShowWindow(main, SW_SHOWNOACTIVATE);
    int clock_ticks = 0;
    auto& clock_handler = program.window().events().periodic[ids::时钟1];
    auto refresh = clock_handler;
    clock_handler = [&clock_ticks, refresh] {
        ++clock_ticks;
        if (refresh) {
            refresh();
        }
    };
    const RefusalCase cases[] = {
        {PowerAction::Shutdown, ids::按钮1, ERROR_NOT_ALL_ASSIGNED, 0, L"关机失败",
         ERROR_NOT_ALL_ASSIGNED},
        {PowerAction::Restart, ids::按钮2, 0, ERROR_ACCESS_DENIED, L"重启失败",
         ERROR_ACCESS_DENIED},
        {PowerAction::LogOff, ids::按钮5, 0, ERROR_SHUTDOWN_IN_PROGRESS, L"注销失败",
         ERROR_SHUTDOWN_IN_PROGRESS},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.title)));
        fake.adjust_error = c.adjust_error;
        fake.windows_accepts = c.refusal_error == 0;
        fake.refusal_error = c.refusal_error;
        fake.exit_flags.clear();
        SeenBox seen;
        const int ticks_before = clock_ticks;
        std::thread watcher = watch_box(c.title, main, 2300ms, seen);
        click(c.button);  // returns when the box has been dismissed
        watcher.join();
        ASSERT_TRUE(seen.found);
        EXPECT_EQ(seen.text, wine_text(c.shown_error));
        EXPECT_FALSE(seen.shows_icon);
        EXPECT_EQ(seen.buttons.size(), 1u);
        EXPECT_EQ(seen.ok_button_id, IDOK);
        EXPECT_FALSE(seen.owner_enabled_while_open) << "not task-modal";
        EXPECT_GE(clock_ticks - ticks_before, 2) << "the timers stopped behind the box";
        EXPECT_TRUE(IsWindowEnabled(main));
        // No retry: a refused privilege step asks nothing of Windows, a refusal once.
        EXPECT_EQ(fake.exit_flags.size(), c.adjust_error != 0 ? 0u : 1u);
    }
}

TEST_F(WiredProgramTest, LogOffGoesOnWithoutTheShutdownPrivilege) {
    fake.adjust_error = ERROR_NOT_ALL_ASSIGNED;
    click(ids::按钮5);
    EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{0x0});
    EXPECT_TRUE(g_notices.empty());
    click(ids::按钮1);
    EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{0x0});
    EXPECT_EQ(g_notices, (std::vector<Notice>{{wine_text(ERROR_NOT_ALL_ASSIGNED), L"关机失败"}}));
}

// ---- the schedule on a window, against a clock the test sets ----

using test::RecordingPowerRequests;

// The time the test sets.
class SetClock : public Clock {
  public:
    DateTime now{2019, 1, 12, 21, 0, 0};
    ClockReading read() override { return ClockReading{now, seconds_of(now)}; }
};

class ScheduleOnWindowTest : public PowerTest {
  protected:
    void SetUp() override {
        PowerTest::SetUp();
        scheduled = std::make_shared<ScheduledPower>(window, state,
                                                     PowerParts{fake, requests, clock, notices});
        state.status_suffix.listen([this] { ++suffix_changes; });
        bind_schedule(window.events(), scheduled);
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr), false));
    }
    void type_target(const wchar_t* hour, const wchar_t* minute, const wchar_t* second) {
        SetWindowTextW(window.control(ids::编辑框1), hour);
        SetWindowTextW(window.control(ids::编辑框2), minute);
        SetWindowTextW(window.control(ids::编辑框3), second);
    }
    void click(Identity button) { SendMessageW(window.control(button), BM_CLICK, 0, 0); }
    void set_clock(int hour, int minute, int second) {
        clock.now = DateTime{2019, 1, 12, hour, minute, second};
    }

    // The requests outlive the window: its handlers hold the schedule, whose end releases them.
    RecordingPowerRequests requests;
    MainWindow window;
    ProgramState state;
    SetClock clock;
    std::shared_ptr<ScheduledPower> scheduled;
};

TEST_F(ScheduleOnWindowTest, ArmingStartsItsTimerAnnouncesAndFires) {
    const struct {
        Identity button;
        Identity timer;
        const wchar_t *hour, *minute, *second;
        Notice notice;
        std::uint32_t flags;
        DateTime fires_at;
    } cases[] = {
        {ids::按钮3,
         ids::时钟2,
         L"22",
         L"30",
         L"0",
         {L"将于22时30分0秒 关机", L"定时关机成功"},
         0x8,
         {2019, 1, 12, 22, 30, 0}},
        {ids::按钮4,
         ids::时钟3,
         L"08",
         L"5",
         L"",
         {L"将于8时5分0秒 重启", L"定时重启成功"},
         0x2,
         {2019, 1, 13, 8, 5, 0}},
        {ids::按钮3,
         ids::时钟2,
         L"",
         L"",
         L"",
         {L"将于0时0分0秒 关机", L"定时关机成功"},
         0x8,
         {2019, 1, 14, 0, 0, 0}},
    };
    int changes = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.notice.text));
        g_notices.clear();
        fake.exit_flags.clear();
        type_target(c.hour, c.minute, c.second);
        click(c.button);
        EXPECT_EQ(g_notices, std::vector<Notice>{c.notice});
        EXPECT_EQ(state.status_suffix.text(), L"  " + c.notice.text);
        EXPECT_EQ(suffix_changes, ++changes);
        EXPECT_TRUE(window.timer(c.timer)->running());
        EXPECT_EQ(window.timer(c.timer)->period(), 1000);
        // One second before the target, then the target: the real timer's next event fires.
        clock.now = date_time_of(seconds_of(c.fires_at) - 1);
        test::pump(1100ms);
        EXPECT_TRUE(fake.exit_flags.empty());
        clock.now = c.fires_at;
        ASSERT_TRUE(test::pump_until([&] { return !fake.exit_flags.empty(); }, 2500ms));
        test::pump(1100ms);  // the other timer, when it runs, requests nothing
        EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{c.flags});
    }
}

TEST_F(ScheduleOnWindowTest, ImpossibleTargetIsRefusedAndChangesNothing) {
    type_target(L"22", L"0", L"0");
    click(ids::按钮3);
    const std::wstring suffix = state.status_suffix.text();
    g_notices.clear();
    const wchar_t* impossible[][3] = {
        {L"25", L"0", L"0"}, {L"-1", L"0", L"0"}, {L"12", L"60", L"0"}, {L"12", L"0", L"99"}};
    for (const auto& t : impossible) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(t[0]) + L"/" + t[1] + L"/" + t[2]));
        g_notices.clear();
        type_target(t[0], t[1], t[2]);
        click(ids::按钮4);
        ASSERT_EQ(g_notices.size(), 1u);
        EXPECT_EQ(g_notices[0].title, L"定时失败");
        EXPECT_NE(g_notices[0].text.find(L"0到23"), std::wstring::npos);
        EXPECT_NE(g_notices[0].text.find(L"0到59"), std::wstring::npos);
        EXPECT_EQ(state.status_suffix.text(), suffix);
        EXPECT_FALSE(window.timer(ids::时钟3)->running());
    }
    EXPECT_EQ(suffix_changes, 1);
    // The shutdown still stands.
    set_clock(22, 0, 0);
    ASSERT_TRUE(test::pump_until([&] { return !fake.exit_flags.empty(); }, 2500ms));
    EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{0x8});
}

TEST_F(ScheduleOnWindowTest, ClockSetByHandDoesNotFireWhatItJumpedOver) {
    for (bool told : {true, false}) {
        SCOPED_TRACE(told ? "WM_TIMECHANGE" : "no message");
        fake.exit_flags.clear();
        set_clock(21, 0, 0);
        type_target(L"21", L"0", L"3");
        click(ids::按钮3);
        // The clock is set forward over the target between two checks.
        set_clock(21, 0, 5);
        if (told) {
            SendMessageW(window.hwnd(), WM_TIMECHANGE, 0, 0);
        }
        test::pump(1300ms);
        EXPECT_EQ(fake.exit_flags.size(), told ? 0u : 1u);
    }
}

TEST_F(ScheduleOnWindowTest, RefusedScheduledRequestIsReportedAndStaysArmed) {
    fake.windows_accepts = false;
    fake.refusal_error = ERROR_ACCESS_DENIED;
    type_target(L"21", L"0", L"2");
    click(ids::按钮4);
    g_notices.clear();
    set_clock(21, 0, 2);
    ASSERT_TRUE(test::pump_until([&] { return !fake.exit_flags.empty(); }, 2500ms));
    set_clock(21, 0, 3);
    test::pump(1100ms);
    EXPECT_EQ(fake.exit_flags, std::vector<std::uint32_t>{0x2});
    EXPECT_EQ(g_notices, (std::vector<Notice>{{wine_text(ERROR_ACCESS_DENIED), L"重启失败"}}));
    EXPECT_EQ(state.status_suffix.text(), L"  将于21时0分2秒 重启");
    EXPECT_TRUE(window.timer(ids::时钟3)->running());
    EXPECT_EQ(scheduled->schedule().armed(), ScheduledKind::Restart);
}

TEST_F(ScheduleOnWindowTest, ArmedScheduleKeepsTheMachineAwakeUntilTheEnd) {
    type_target(L"25", L"0", L"0");
    click(ids::按钮3);
    EXPECT_TRUE(requests.log.empty()) << "held without a schedule";
    type_target(L"23", L"0", L"0");
    click(ids::按钮3);
    type_target(L"6", L"0", L"0");
    click(ids::按钮4);
    click(ids::按钮4);  // the same schedule again: the request in force stays
    EXPECT_EQ(requests.open, 1);
    // The program's end takes the schedule, and with it the request.
    window.events() = MainWindowEvents{};
    scheduled.reset();
    const std::vector<std::wstring> expected = {
        L"hold 1 Tovrelle: 将于23时0分0秒 关机",
        L"hold 2 Tovrelle: 将于6时0分0秒 重启",
        L"release 1",
        L"release 2",
    };
    EXPECT_EQ(requests.log, expected);
    EXPECT_EQ(requests.open, 0);
}

TEST(WindowsPowerRequests, HoldAndReleaseReachTheSystem) {
    PowerRequests& requests = windows_power_requests();
    const PowerRequestNumber request = requests.hold(L"Tovrelle: 将于23时0分0秒 关机");
    if (test::running_under_wine()) {
        // Wine 8 only stubs PowerCreateRequest and hands out no request: the refusal must come
        // back as none held, never as a handle that is not one.
        EXPECT_EQ(request, 0u);
        return;
    }
    ASSERT_NE(request, 0u);
    DWORD flags = 0;
    EXPECT_TRUE(GetHandleInformation(reinterpret_cast<HANDLE>(request), &flags));
    requests.release(request);
    EXPECT_FALSE(GetHandleInformation(reinterpret_cast<HANDLE>(request), &flags))
        << "the request's handle is still open";
}

TEST_F(ScheduleOnWindowTest, ArmingAgainKeepsTheTimersRhythm) {
    using SteadyClock = std::chrono::steady_clock;
    std::vector<SteadyClock::time_point> ticks;
    auto check = window.events().periodic[ids::时钟2];
    window.events().periodic[ids::时钟2] = [&ticks, check] {
        ticks.push_back(SteadyClock::now());
        check();
    };
    type_target(L"23", L"0", L"0");
    click(ids::按钮3);
    ASSERT_TRUE(test::pump_until([&] { return ticks.size() == 1; }, 3000ms));
    test::pump(500ms);
    const auto rearmed = SteadyClock::now();
    type_target(L"23", L"5", L"0");
    click(ids::按钮3);
    ASSERT_TRUE(test::pump_until([&] { return ticks.size() == 2; }, 3000ms));
    EXPECT_LT(ticks[1] - rearmed, 850ms) << "the timer was restarted";
    EXPECT_EQ(state.status_suffix.text(), L"  将于23时5分0秒 关机");
}

}  // namespace
}  // namespace tovrelle
