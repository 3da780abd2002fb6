#include <gtest/gtest.h>

#include "link/Timeouts.h"

using namespace std::chrono;

TEST(ReadDeadline, StartPhaseWaitsTPlus100PerByte) {
    const auto t0 = SerialClock::now();
    ReadDeadline d(StartPhaseTimeouts(200), 1, t0);
    EXPECT_EQ(*d.Remaining(t0), milliseconds(300));
    EXPECT_EQ(*d.Remaining(t0 + milliseconds(299)), milliseconds(1));
    EXPECT_EQ(*d.Remaining(t0 + milliseconds(300)), milliseconds(0));
}

TEST(ReadDeadline, BodyPhaseTotalAndIntervalWhicheverComesFirst) {
    const auto t0 = SerialClock::now();
    // 10 bytes: total 100 x 10 + 100 = 1100 ms.
    ReadDeadline d(BodyPhaseTimeouts(), 10, t0);
    EXPECT_EQ(*d.Remaining(t0), milliseconds(1100));
    // Once bytes flow, a gap of 100 ms ends the read.
    d.BytesArrived(t0 + milliseconds(50));
    EXPECT_EQ(*d.Remaining(t0 + milliseconds(50)), milliseconds(100));
    d.BytesArrived(t0 + milliseconds(1060));
    EXPECT_EQ(*d.Remaining(t0 + milliseconds(1060)), milliseconds(40));  // the total is nearer
}

TEST(ReadDeadline, NoTotalMeansOnlyTheInterval) {
    const auto t0 = SerialClock::now();
    ReadDeadline d(CommTimeouts{100, 0, 0, 0, 0}, 5, t0);
    EXPECT_FALSE(d.Remaining(t0).has_value());  // waits for the first byte without limit
    d.BytesArrived(t0);
    EXPECT_EQ(*d.Remaining(t0), milliseconds(100));
}

TEST(WriteDeadline, TenPerBytePlus100) {
    const auto t0 = SerialClock::now();
    EXPECT_EQ(WriteDeadline(kOpenTimeouts, 5, t0) - t0, milliseconds(150));
}
