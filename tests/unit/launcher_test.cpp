#include "app/launcher.h"

#include "tests/support/platform_fake.h"
#include "tests/support/support_files.h"
#include "tests/support/support_paths.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <deque>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace VARKO {
namespace {

namespace Fake = Testing::FakePlatform;
using Platform::Event;
using Platform::EventType;

// A FILE* over `text`, for Button::Load.
struct TextFile {
    explicit TextFile(const std::string& text)
        : fp(std::fopen(Testing::WriteTempFile("splash.cfg", text).c_str(), "r")) {}
    ~TextFile() { std::fclose(fp); }
    std::FILE* fp;
};

TEST(ButtonTest, LoadReadsFourSignedIntegersAcrossLines) {
    TextFile file("10 -20\n+30\t40 anything after");
    Button button;
    ASSERT_EQ(button.Load(file.fp), 1);
    EXPECT_EQ(button.left, 10);
    EXPECT_EQ(button.top, -20);
    EXPECT_EQ(button.right, 30);
    EXPECT_EQ(button.bottom, 40);
    EXPECT_EQ(button.Load(nullptr), 0);
}

TEST(ButtonTest, LoadRefusesWhatIsNotFourIntegers) {
    for (const char* text :
         {"1 2 3", "1 2 3x 4", "1 2 x 4", "+-1 2 3 4", "- 2 3 4", "1 2 3 2147483648"}) {
        TextFile file(text);
        Button button;
        button.Setup(1, 1, 1, 1);
        EXPECT_EQ(button.Load(file.fp), 0) << text;
        EXPECT_EQ(button.left, 1) << text;
    }
}

TEST(ButtonTest, EveryEdgeCountsAsInside) {
    Button button;
    button.Setup(10, 20, 30, 40);
    EXPECT_EQ(button.Pressed(10, 20), 1);
    EXPECT_EQ(button.Pressed(40, 60), 1);
    EXPECT_EQ(button.Pressed(9, 30), 0);
    EXPECT_EQ(button.Pressed(41, 30), 0);
    EXPECT_EQ(button.Pressed(20, 19), 0);
    EXPECT_EQ(button.Pressed(20, 61), 0);
    int x, y, wid, hit;
    button.Get(x, y, wid, hit);
    EXPECT_THAT((std::vector<int>{x, y, wid, hit}), testing::ElementsAre(10, 20, 30, 40));
}

TEST(ButtonTest, ExtremeRectanglesDoNotOverflow) {
    TextFile file("-2147483648 -2147483648 2147483647 2147483647");
    Button button;
    ASSERT_EQ(button.Load(file.fp), 1);
    int x, y, wid, hit;
    button.Get(x, y, wid, hit);
    EXPECT_EQ(wid, INT_MAX);
    EXPECT_EQ(hit, INT_MAX);
    button.Setup(INT_MAX, 0, 10, 10);
    EXPECT_EQ(button.right, INT_MAX);
}

// Buttons 0-7 in a row, 30 x 30 each, 40 apart, inside a 401 x 301 picture.
Button RowButton(int index) {
    Button button;
    button.Setup(10 + 40 * index, 20, 30, 30);
    return button;
}
int CentreX(int index) {
    return 25 + 40 * index;
}
constexpr int kCentreY = 35;

std::vector<int> Values() {
    return std::vector<int>(values, values + kSplashButtonCount);
}

class SplashButtonsTest : public testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < kSplashButtonCount; ++i) {
            buttons[i] = RowButton(i);
            values[i] = 0;
        }
        values[kRes800] = 1;
        values[kDepth32] = 1;
    }
    void Click(int index) { SplashTestButtons(CentreX(index), kCentreY); }
};

TEST_F(SplashButtonsTest, GroupsAreIndependentRadioGroups) {
    Click(kRes640);
    EXPECT_THAT(Values(), testing::ElementsAre(1, 0, 0, 0, 0, 1, 0, 0));
    Click(kRes1024);
    Click(kDepth16);
    EXPECT_THAT(Values(), testing::ElementsAre(0, 0, 1, 0, 1, 0, 0, 0));
    Click(kDepth8);
    Click(kStart);
    EXPECT_THAT(Values(), testing::ElementsAre(0, 0, 1, 1, 0, 0, 0, 1));
}

TEST_F(SplashButtonsTest, FullScreenToggles) {
    Click(kFullScreen);
    Click(kFullScreen);
    EXPECT_EQ(values[kFullScreen], 0);
    Click(kFullScreen);
    EXPECT_EQ(values[kFullScreen], 1);
}

TEST_F(SplashButtonsTest, ClickOutsideChangesNothing) {
    Button first = RowButton(kRes640);
    SplashTestButtons(first.right + 1, kCentreY);
    SplashTestButtons(CentreX(kRes640), first.bottom + 1);
    SplashTestButtons(-1, -1);
    EXPECT_THAT(Values(), testing::ElementsAre(0, 1, 0, 0, 0, 1, 0, 0));
}

TEST_F(SplashButtonsTest, OverlappingButtonsApplyInIndexOrder) {
    buttons[kRes640].Setup(0, 0, 100, 100);
    buttons[kRes1024].Setup(50, 50, 100, 100);
    buttons[kDepth8].Setup(50, 50, 100, 100);
    buttons[kFullScreen].Setup(50, 50, 100, 100);
    SplashTestButtons(60, 60);
    EXPECT_THAT(Values(), testing::ElementsAre(0, 0, 1, 1, 0, 0, 1, 0));
}

// Feeds the launcher's loop: each time it finds nothing to act on, the next batch of events is
// queued on its window. Running out means the launcher waits for input that will never come.
class Script {
public:
    void Add(std::vector<Event> events) { batches.push_back(std::move(events)); }
    void Click(int x, int y) {
        Add({{EventType::MouseMove, x, y}, {EventType::LeftButtonDown}});
        Add({{EventType::LeftButtonUp}});
    }
    void Click(int index) { Click(CentreX(index), kCentreY); }
    void Next() {
        if (batches.empty()) {
            throw std::runtime_error("launcher still waiting after the last scripted event");
        }
        for (const Event& event : batches.front()) {
            Fake::QueueEvent(Fake::LastWindow(), event);
        }
        batches.pop_front();
    }

private:
    std::deque<std::vector<Event>> batches;
};

std::string Rectangles(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        Button b = RowButton(i);
        text += std::to_string(b.left) + " " + std::to_string(b.top) + " " +
                std::to_string(b.right) + " " + std::to_string(b.bottom) + "\n";
    }
    return text;
}

std::string RowConfig(const std::string& up = "up.bmp", int count = kSplashButtonCount) {
    return up + "\ndown.bmp\n" + Rectangles(count);
}

class DoSplashTest : public testing::Test {
protected:
    void SetUp() override {
        Fake::Reset();
        Fake::ScriptBitmap("up.bmp", 401, 301);
        Fake::ScriptBitmap("down.bmp", 401, 301);
    }

    bool Run(const std::string& config) {
        std::string path = Testing::WriteTempFile("splash.cfg", config);
        return DoSplash(path.c_str(), res, depth, full, [this] { script.Next(); });
    }
    bool RunAndStart(const std::string& config = RowConfig()) {
        script.Click(kStart);
        return Run(config);
    }

    Script script;
    int res = -1;
    int depth = -1;
    bool full = true;
};

TEST_F(DoSplashTest, StartAloneGivesTheDefaults) {
    ASSERT_TRUE(RunAndStart());
    EXPECT_EQ(res, 1);
    EXPECT_EQ(depth, 2);
    EXPECT_FALSE(full);
}

TEST_F(DoSplashTest, ClicksChooseModeAndFullScreen) {
    script.Click(kRes640);
    script.Click(kRes1024);
    script.Click(kDepth8);
    for (int i = 0; i < 3; ++i) {
        script.Click(kFullScreen);
    }
    ASSERT_TRUE(RunAndStart());
    EXPECT_EQ(res, 2);
    EXPECT_EQ(depth, 0);
    EXPECT_TRUE(full);
}

TEST_F(DoSplashTest, HoldingTheButtonActsOnce) {
    script.Add(
        {{EventType::MouseMove, CentreX(kFullScreen), kCentreY}, {EventType::LeftButtonDown}});
    script.Add({});
    script.Add({{EventType::MouseMove, CentreX(kRes640), kCentreY}});
    script.Add({{EventType::MouseMove, CentreX(kStart), kCentreY}});
    script.Add({{EventType::LeftButtonUp}});
    ASSERT_TRUE(RunAndStart());
    EXPECT_EQ(res, 1);
    EXPECT_TRUE(full);
    EXPECT_EQ(Fake::CountLog("PresentWindow"), 3u);
}

TEST_F(DoSplashTest, PressedLookOfSelectedButtonsIsCopiedAfterThePicture) {
    script.Click(CentreX(kRes640), 300); // outside every button: drawn again all the same
    ASSERT_TRUE(RunAndStart());
    std::vector<std::string> copies;
    for (const auto& copy : Fake::CopiedRects()) {
        EXPECT_EQ(copy.window, Fake::LastWindow());
        copies.push_back(Fake::BitmapPath(copy.bitmap) + " " + std::to_string(copy.x) + "," +
                         std::to_string(copy.y) + " " + std::to_string(copy.width) + "x" +
                         std::to_string(copy.height));
    }
    EXPECT_THAT(copies, testing::ElementsAre("up.bmp 0,0 401x301", "down.bmp 50,20 30x30",
                                             "down.bmp 210,20 30x30", "up.bmp 0,0 401x301",
                                             "down.bmp 50,20 30x30", "down.bmp 210,20 30x30",
                                             "up.bmp 0,0 401x301", "down.bmp 50,20 30x30",
                                             "down.bmp 210,20 30x30", "down.bmp 290,20 30x30"));
    EXPECT_EQ(Fake::CountLog("PresentWindow"), 3u);
}

TEST_F(DoSplashTest, WindowIsCentredBorderlessAndClosedWithBitmapsFreed) {
    ASSERT_TRUE(RunAndStart());
    Fake::FakeWindow* window = Fake::Window(Fake::LastWindow());
    EXPECT_EQ(window->className, "Splash");
    EXPECT_EQ(window->title, "Splash");
    EXPECT_EQ(window->style, Platform::WindowStyle::Popup);
    EXPECT_THAT((std::vector<int>{window->x, window->y, window->width, window->height}),
                testing::ElementsAre(312, 234, 401, 301));
    EXPECT_EQ(swidth, 401);
    EXPECT_EQ(sheight, 301);
    EXPECT_FALSE(window->alive);
    EXPECT_EQ(Fake::CountLog("LoadBitmapFile"), 2u);
    EXPECT_EQ(Fake::LiveBitmapCount(), 0u);
}

TEST_F(DoSplashTest, BadConfigurationFailsBeforeAnyBitmapOrWindow) {
    const std::vector<std::string> configs = {
        "",
        "up.bmp",
        "up.bmp\n" + Rectangles(8), // the second path is missing
        RowConfig("up.bmp", 7),
        "up.bmp down.bmp 1 2 3 four " + Rectangles(7),
        RowConfig(std::string(64, 'a')),
    };
    for (const std::string& config : configs) {
        EXPECT_FALSE(Run(config)) << config;
        EXPECT_EQ(Fake::CountLog("LoadBitmapFile"), 0u) << config;
        EXPECT_EQ(Fake::LastWindow(), nullptr) << config;
    }
    EXPECT_EQ(res, -1);
    EXPECT_FALSE(DoSplash((Testing::MakeTempDir() + "/none.cfg").c_str(), res, depth, full));
    EXPECT_EQ(Fake::LastWindow(), nullptr);
}

TEST_F(DoSplashTest, PathOfSixtyThreeCharactersIsAccepted) {
    std::string longest(63, 'a');
    Fake::ScriptBitmap(longest, 401, 301);
    script.Click(kStart);
    EXPECT_TRUE(Run(RowConfig(longest)));
    EXPECT_EQ(Fake::BitmapPath(Fake::CopiedRects().front().bitmap), longest);
}

TEST_F(DoSplashTest, MissingBitmapFailsAndFreesTheOther) {
    EXPECT_FALSE(Run(RowConfig("missing.bmp")));
    std::string swapped = RowConfig();
    swapped.replace(swapped.find("down.bmp"), 8, "none.bmp");
    EXPECT_FALSE(Run(swapped));
    EXPECT_EQ(Fake::LiveBitmapCount(), 0u);
    EXPECT_EQ(Fake::LastWindow(), nullptr);
    EXPECT_EQ(res, -1);
}

TEST_F(DoSplashTest, WindowFailureFreesBitmapsAndWritesNothing) {
    Fake::FailCreateWindow(true);
    EXPECT_FALSE(Run(RowConfig()));
    EXPECT_EQ(Fake::LiveBitmapCount(), 0u);
    EXPECT_EQ(res, -1);
    EXPECT_EQ(depth, -1);
    EXPECT_TRUE(full);
}

} // namespace
} // namespace VARKO
