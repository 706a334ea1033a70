#include "app/display_mode.h"

#include <gtest/gtest.h>

using VARKO::ModeFromChoices;

TEST(DisplayMode, ChoicesMapToSizeAndDepth) {
    EXPECT_EQ(ModeFromChoices(0, 0, true).width, 640);
    EXPECT_EQ(ModeFromChoices(0, 0, true).height, 480);
    EXPECT_EQ(ModeFromChoices(0, 0, true).bits, 8);
    EXPECT_TRUE(ModeFromChoices(0, 0, true).fullscreen);
    EXPECT_EQ(ModeFromChoices(2, 1, false).width, 1024);
    EXPECT_EQ(ModeFromChoices(2, 1, false).height, 768);
    EXPECT_EQ(ModeFromChoices(2, 1, false).bits, 16);
    EXPECT_FALSE(ModeFromChoices(2, 1, false).fullscreen);
}

TEST(DisplayMode, OtherChoicesGiveEightHundredBySixHundredAtThirtyTwoBits) {
    for (int choice : {1, 3, -1, 1000}) {
        VARKO::DisplayMode mode = ModeFromChoices(choice, choice == 1 ? 2 : choice, false);
        EXPECT_EQ(mode.width, 800) << choice;
        EXPECT_EQ(mode.height, 600) << choice;
        EXPECT_EQ(mode.bits, 32) << choice;
    }
}
