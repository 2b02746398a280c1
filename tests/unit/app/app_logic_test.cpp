#include <gtest/gtest.h>

#include <ostream>

#include <set>
#include <string>
#include <vector>

#include "app/event_routing.h"
#include "app/exit_cleanup.h"
#include "app/program_state.h"
#include "app/run_directory.h"
#include "app/timer_period.h"
#include "app/window_def.h"
#include "tests/support/case_names.h"

namespace tovrelle {
namespace {

// ---- run directory ----

struct RunDirCase {
    const wchar_t* module;
    const wchar_t* expected;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const RunDirCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.module));
}

class RunDirectoryTest : public ::testing::TestWithParam<RunDirCase> {};

TEST_P(RunDirectoryTest, EverythingBeforeTheLastBackslash) {
    EXPECT_EQ(run_directory(GetParam().module), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, RunDirectoryTest,
                         ::testing::Values(RunDirCase{L"C:\\Program Files\\Tovrelle\\tovrelle.exe",
                                                      L"C:\\Program Files\\Tovrelle"},
                                           RunDirCase{L"C:\\tovrelle.exe", L"C:"},
                                           RunDirCase{L"\\\\server\\share\\tools\\tovrelle.exe",
                                                      L"\\\\server\\share\\tools"},
                                           RunDirCase{L"\\\\?\\D:\\工具\\定时\\tovrelle.exe",
                                                      L"\\\\?\\D:\\工具\\定时"},
                                           RunDirCase{L"tovrelle.exe", L""}),
                         ::tovrelle::test::NameBy<&RunDirCase::module>{});

// Only a bare drive takes a backslash; a folder, a share and the empty text stay as they are.
TEST(AsCurrentDirectory, ADriveRootTakesItsBackslash) {
    EXPECT_EQ(as_current_directory(L"C:"), L"C:\\");
    EXPECT_EQ(as_current_directory(L"\\\\?\\D:"), L"\\\\?\\D:\\");
    EXPECT_EQ(as_current_directory(L"C:\\Tools"), L"C:\\Tools");
    EXPECT_EQ(as_current_directory(L"\\\\server\\share"), L"\\\\server\\share");
    EXPECT_EQ(as_current_directory(L""), L"");
}

// ---- status suffix ----

// Every listener hears of each replacement after the text has changed; the exit clean-up
// empties it and nobody hears of anything after that.
TEST(StatusSuffix, TellsEveryListenerAfterEachReplacement) {
    StatusSuffix suffix;
    std::vector<std::wstring> heard;
    suffix.listen([&] { heard.push_back(L"a:" + suffix.text()); });
    suffix.listen([&] { heard.push_back(L"b:" + suffix.text()); });
    suffix.replace(L"  将于1时2分3秒 关机");
    suffix.replace(L"");
    EXPECT_EQ(heard, (std::vector<std::wstring>{L"a:  将于1时2分3秒 关机",
                                                L"b:  将于1时2分3秒 关机", L"a:", L"b:"}));
    suffix.replace(L"x");
    heard.clear();
    suffix.release();
    EXPECT_EQ(suffix.text(), L"");
    suffix.replace(L"y");
    EXPECT_TRUE(heard.empty());
}

// ---- exit clean-up list ----

std::vector<int> g_ran;
void first() {
    g_ran.push_back(1);
}
void second() {
    g_ran.push_back(2);
}

TEST(ExitCleanupList, RegisteredTwiceRunsOnceInRegistrationOrder) {
    g_ran.clear();
    ExitCleanupList list;
    list.add(first);
    list.add(second);
    list.add(first);
    list.run();
    EXPECT_EQ(g_ran, (std::vector<int>{1, 2}));
    // The second road to the end (or a second call) finds the list empty.
    list.run();
    EXPECT_EQ(g_ran, (std::vector<int>{1, 2}));
    EXPECT_TRUE(list.empty());
}

// ---- timer period ----

class FakeTimerService : public TimerService {
  public:
    void start(int period) override { calls.push_back("start " + std::to_string(period)); }
    void stop() override { calls.push_back("stop"); }
    std::vector<std::string> calls;
};

struct PeriodCase {
    const char* what;
    int initial;
    std::vector<int> writes;
    std::vector<std::string> calls;  // after construction
    int period;
    bool running;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const PeriodCase& c, std::ostream* os) {
    *os << c.what;
}

class TimerPeriodTest : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(TimerPeriodTest, WriteRules) {
    const PeriodCase& c = GetParam();
    SCOPED_TRACE(c.what);
    FakeTimerService service;
    TimerPeriod timer(service, c.initial);
    service.calls.clear();
    for (int w : c.writes) {
        timer.write(w);
    }
    EXPECT_EQ(service.calls, c.calls);
    EXPECT_EQ(timer.period(), c.period);
    EXPECT_EQ(timer.running(), c.running);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TimerPeriodTest,
    ::testing::Values(PeriodCase{"same period keeps the rhythm", 1000, {1000}, {}, 1000, true},
                      PeriodCase{"negative on a stopped timer", 0, {-5}, {}, 0, false},
                      PeriodCase{"start a stopped timer", 0, {1000}, {"start 1000"}, 1000, true},
                      PeriodCase{
                          "new period restarts", 1000, {500}, {"stop", "start 500"}, 500, true},
                      PeriodCase{"zero stops", 1000, {0}, {"stop"}, 0, false},
                      PeriodCase{"negative stops", 1000, {-1}, {"stop"}, 0, false},
                      PeriodCase{"armed twice", 0, {1000, 1000}, {"start 1000"}, 1000, true}),
    ::tovrelle::test::NameBy<&PeriodCase::what>{});

TEST(TimerPeriod, PositiveInitialPeriodStartsAndShutdownStops) {
    FakeTimerService service;
    TimerPeriod running(service, 1000);
    TimerPeriod stopped(service, 0);
    EXPECT_EQ(service.calls, std::vector<std::string>{"start 1000"});
    running.shutdown();
    stopped.shutdown();
    EXPECT_EQ(service.calls, (std::vector<std::string>{"start 1000", "stop"}));
    EXPECT_FALSE(running.running());
}

// ---- command routing and tray events ----

TEST(RouteCommand, MenuControlAndSystemRanges) {
    struct Case {
        unsigned command;
        CommandTarget::Kind kind;
        unsigned index;
    };
    const Case cases[] = {
        {226, CommandTarget::Kind::Control, 226},   {19999, CommandTarget::Kind::Control, 19999},
        {20000, CommandTarget::Kind::MenuEntry, 0}, {20001, CommandTarget::Kind::MenuEntry, 1},
        {20002, CommandTarget::Kind::MenuEntry, 2}, {20003, CommandTarget::Kind::Ignored, 0},
        {57599, CommandTarget::Kind::Ignored, 0},   {57600, CommandTarget::Kind::Ignored, 0},
        {0xFFFF, CommandTarget::Kind::Ignored, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const CommandTarget t = route_command(c.command, 3);
        EXPECT_EQ(t.kind, c.kind);
        EXPECT_EQ(t.index, c.index);
    }
}

TEST(TrayEventType, FromMouseMessage) {
    EXPECT_EQ(tray_event_type(0x0202), 1);
    EXPECT_EQ(tray_event_type(0x0203), 2);
    EXPECT_EQ(tray_event_type(0x0205), 3);
    EXPECT_EQ(tray_event_type(0x007B), 3);
    EXPECT_EQ(tray_event_type(0x0201), std::nullopt);  // left press
    EXPECT_EQ(tray_event_type(0x0200), std::nullopt);  // mouse move
    EXPECT_EQ(tray_event_type(0x0204), std::nullopt);  // right press
    // Version 4 of the icon: the selection, by mouse or by keyboard, and the icon number in the
    // high word.
    EXPECT_EQ(tray_event_type(0x0400), 1);
    EXPECT_EQ(tray_event_type(0x0401), 1);
    EXPECT_EQ(tray_event_type((100u << 16) | 0x0401), 1);
    EXPECT_EQ(tray_event_type((100u << 16) | 0x0202), 1);
    EXPECT_EQ(tray_event_type((100u << 16) | 0x007B), 3);
    EXPECT_EQ(tray_event_type((100u << 16) | 0x0200), std::nullopt);
    EXPECT_EQ(tray_event_type(0x0402), std::nullopt);  // NIN_BALLOONSHOW
}

// ---- the window definition ----

TEST(WindowDefinition, IdentitiesAndChildNumbersAreUnique) {
    const WindowDef& def = main_window_def();
    std::set<Identity> identities{def.id, def.id_as_control};
    std::set<int> numbers;
    for (const ControlDef& c : def.controls) {
        EXPECT_TRUE(identities.insert(c.id).second) << "duplicate identity";
        EXPECT_TRUE(numbers.insert(child_number(c.id)).second) << "duplicate child number";
        // Control numbers share WM_COMMAND with the menu commands: they must stay below them.
        EXPECT_LT(static_cast<unsigned>(child_number(c.id)), kMenuCommandBase);
        const bool contained = c.container == def.id || find_control(def, c.container) != nullptr;
        EXPECT_TRUE(contained);
    }
    for (const MenuEntryDef& m : def.menu) {
        EXPECT_TRUE(identities.insert(m.id).second);
    }
    for (Identity id : def.tab_order) {
        const ControlDef* c = find_control(def, id);
        ASSERT_NE(c, nullptr);
        EXPECT_TRUE(c->tab_stop);
    }
    EXPECT_EQ(menu_index(def, ids::退出软件), 2);
    EXPECT_EQ(menu_index(def, ids::按钮1), std::nullopt);
}

}  // namespace
}  // namespace tovrelle
