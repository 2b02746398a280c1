// Keeping the machine awake: one request at a time, named for the schedule, never left behind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "power/keep_awake.h"
#include "tests/support/recording_power_requests.h"

namespace tovrelle {
namespace {

using RecordingRequests = test::RecordingPowerRequests;

TEST(KeepAwake, ReasonNamesTheSchedule) {
    EXPECT_EQ(keep_awake_reason(ScheduledKind::Shutdown, {23, 0, 0}),
              L"Tovrelle: 将于23时0分0秒 关机");
    EXPECT_EQ(keep_awake_reason(ScheduledKind::Restart, {8, 5, 30}),
              L"Tovrelle: 将于8时5分30秒 重启");
}

TEST(KeepAwake, OneRequestReplacedNewBeforeOldAndReleasedAtTheEnd) {
    RecordingRequests requests;
    {
        KeepAwake awake(requests);
        EXPECT_FALSE(awake.held());
        EXPECT_TRUE(requests.log.empty()) << "nothing is held before a schedule is armed";

        awake.hold(L"Tovrelle: 将于23时0分0秒 关机");
        awake.hold(L"Tovrelle: 将于23时0分0秒 关机");  // armed again, same words
        awake.hold(L"Tovrelle: 将于6时0分0秒 重启");
        EXPECT_TRUE(awake.held());
        EXPECT_EQ(awake.reason(), L"Tovrelle: 将于6时0分0秒 重启");
        EXPECT_EQ(requests.open, 1);
    }
    const std::vector<std::wstring> expected = {
        L"hold 1 Tovrelle: 将于23时0分0秒 关机",
        L"hold 2 Tovrelle: 将于6时0分0秒 重启",
        L"release 1",
        L"release 2",
    };
    EXPECT_EQ(requests.log, expected);
    EXPECT_EQ(requests.open, 0) << "a request outlived its owner";
}

TEST(KeepAwake, RefusedRequestKeepsTheOneInForce) {
    RecordingRequests requests;
    KeepAwake awake(requests);
    awake.hold(L"first");
    requests.refuse = true;
    awake.hold(L"second");
    EXPECT_TRUE(awake.held());
    EXPECT_EQ(awake.reason(), L"first");
    EXPECT_EQ(requests.open, 1);
    awake.release();
    EXPECT_FALSE(awake.held());
    EXPECT_EQ(requests.open, 0);

    KeepAwake refused(requests);
    refused.hold(L"third");
    EXPECT_FALSE(refused.held()) << "a refusal holds nothing";
}

}  // namespace
}  // namespace tovrelle
