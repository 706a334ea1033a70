#include "src/timer.h"

#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

namespace Fake = VARKO::Testing::FakePlatform;

class TimerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        Fake::SetClockMilliseconds(5000);
    }
};

TEST_F(TimerTest, ReadsMillisecondsSinceConstruction) {
    VARKO::Timer timer;
    EXPECT_TRUE(timer.performance);
    Fake::AdvanceClock(250);
    EXPECT_NEAR(timer.GetTime(), 250.0f, 0.01f);
}

TEST_F(TimerTest, FallsBackToTheMillisecondClock) {
    Fake::SetCounterAvailable(false);
    VARKO::Timer timer;
    EXPECT_FALSE(timer.performance);
    EXPECT_FLOAT_EQ(timer.resolution, 0.001f);
    Fake::AdvanceClock(40);
    EXPECT_NEAR(timer.GetTime(), 40.0f, 0.001f);
}

TEST_F(TimerTest, FrameLengthAndRate) {
    VARKO::Frame frame;
    EXPECT_EQ(frame.GetFPS(), 0);
    EXPECT_EQ(frame.GetLength(), 0.0f);

    Fake::AdvanceClock(40);
    frame.Update();
    EXPECT_NEAR(frame.GetLength(), 40.0f, 0.01f);
    EXPECT_EQ(frame.GetFPS(), 25);

    // A frame shorter than the clock's step counts as 1 ms.
    frame.Update();
    EXPECT_EQ(frame.GetLength(), 1.0f);
    EXPECT_EQ(frame.GetFPS(), 1000);

    Fake::AdvanceClock(1500);
    frame.Update();
    EXPECT_EQ(frame.GetFPS(), 0);
}
