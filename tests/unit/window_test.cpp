#include "src/window.h"

#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

namespace Fake = VARKO::Testing::FakePlatform;
using VARKO::Window;
using VARKO::Platform::Event;
using VARKO::Platform::EventType;

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { Fake::Reset(); }
    void Queue(EventType type, int a = 0, int b = 0) {
        Fake::QueueEvent(window.hWnd, {type, a, b});
    }
    Window window;
};

TEST_F(WindowTest, SetupMakesAPopupAndSetupTitleAFramedWindow) {
    ASSERT_TRUE(window.Setup(312, 234, 401, 301, "Splash"));
    Fake::FakeWindow* popup = Fake::Window(window.GetHandle());
    EXPECT_EQ(popup->style, VARKO::Platform::WindowStyle::Popup);
    EXPECT_EQ(popup->className, "Splash");
    EXPECT_EQ(popup->title, "Splash");
    EXPECT_EQ(popup->x, 312);
    EXPECT_EQ(popup->y, 234);
    EXPECT_EQ(popup->slot, &window);

    Window framed;
    ASSERT_TRUE(framed.SetupTitle(0, 0, 800, 600, "VARKO OpenGL Example"));
    EXPECT_EQ(Fake::Window(framed.GetHandle())->style, VARKO::Platform::WindowStyle::Framed);
    // The requested outer size stands until the first size event.
    int wid = 0, hit = 0;
    framed.GetDimensions(wid, hit);
    EXPECT_EQ(wid, 800);
    EXPECT_EQ(hit, 600);
}

TEST_F(WindowTest, ClassNameIsRefusedWhileAWindowUsesItAndFreeAfterClose) {
    ASSERT_TRUE(window.Setup(0, 0, 10, 10, "Same"));
    Window second;
    EXPECT_FALSE(second.Setup(0, 0, 10, 10, "Same"));
    EXPECT_EQ(second.GetHandle(), nullptr);
    window.Close();
    EXPECT_TRUE(second.Setup(0, 0, 10, 10, "Same"));
}

TEST_F(WindowTest, FailedRegistrationOrCreationMakesNoWindow) {
    Fake::FailRegisterClass(true);
    EXPECT_FALSE(window.Setup(0, 0, 10, 10, "A"));
    EXPECT_EQ(Fake::CountLog("CreateNativeWindow"), 0u);
    Fake::FailRegisterClass(false);
    Fake::FailCreateWindow(true);
    EXPECT_FALSE(window.SetupTitle(0, 0, 10, 10, "A"));
    EXPECT_EQ(window.GetHandle(), nullptr);
}

TEST_F(WindowTest, CloseDetachesAndDestroysOnce) {
    ASSERT_TRUE(window.Setup(0, 0, 10, 10, "A"));
    VARKO::Platform::WindowHandle handle = window.GetHandle();
    window.Close();
    window.Close();
    EXPECT_EQ(Fake::CountLog("DestroyNativeWindow"), 1u);
    EXPECT_FALSE(Fake::Window(handle)->alive);
    EXPECT_EQ(window.GetHandle(), nullptr);
}

TEST_F(WindowTest, DataAccessCodes) {
    window.DataAccess(19, 5);
    window.DataAccess(20, 6);
    window.DataAccess(21, 1);
    window.DataAccess(22, 2); // only 1 means down
    window.DataAccess(23, 38);
    window.DataAccess(32, 640);
    window.DataAccess(33, 480);
    window.DataAccess(99, 1);
    window.DataAccess(23, 256); // out of range: ignored, no write past the flags
    window.DataAccess(23, -1);
    EXPECT_EQ(window.mouseX, 5);
    EXPECT_EQ(window.mouseY, 6);
    EXPECT_TRUE(window.leftButton);
    EXPECT_FALSE(window.rightButton);
    EXPECT_TRUE(window.keys[38]);
    EXPECT_EQ(window.width, 640);
    EXPECT_EQ(window.height, 480);
    window.DataAccess(24, 38);
    EXPECT_FALSE(window.keys[38]);
    window.DataAccess(25, 0);
    EXPECT_TRUE(window.BeenSized());
    EXPECT_FALSE(window.BeenSized());
}

TEST_F(WindowTest, EventsReachTheFlagsWhenRead) {
    ASSERT_TRUE(window.SetupTitle(0, 0, 800, 600, "A"));
    Queue(EventType::KeyDown, 27);
    Queue(EventType::MouseMove, 70000, 12); // coordinates are unsigned 16-bit words
    Queue(EventType::RightButtonDown);
    EXPECT_TRUE(window.GetKey(27));
    EXPECT_FALSE(window.GetKey(256));
    EXPECT_FALSE(window.GetKey(-1));
    int x = 0, y = 0;
    window.GetMousePosition(x, y);
    EXPECT_EQ(x, 70000 & 0xFFFF);
    EXPECT_EQ(y, 12);
    bool left = true, right = false;
    window.GetMouseButton(left, right);
    EXPECT_FALSE(left);
    EXPECT_TRUE(right);
}

TEST_F(WindowTest, KeyPressedAndReleasedBetweenPumpsReadsFalse) {
    ASSERT_TRUE(window.Setup(0, 0, 10, 10, "A"));
    Queue(EventType::KeyDown, 'A');
    Queue(EventType::KeyUp, 'A');
    Queue(EventType::KeyDown, 40);
    EXPECT_FALSE(window.GetKeys()['A']);
    EXPECT_TRUE(window.GetKey(40));
    EXPECT_TRUE(window.GetKey(40)); // held: true at every query
}

TEST_F(WindowTest, SizeEventsAreReportedOnce) {
    ASSERT_TRUE(window.SetupTitle(0, 0, 800, 600, "A"));
    Queue(EventType::Resized, 700, 500);
    Queue(EventType::Resized, 784, 561);
    window.DoMessaging();
    int wid = 0, hit = 0;
    window.GetDimensions(wid, hit);
    EXPECT_EQ(wid, 784);
    EXPECT_EQ(hit, 561);
    EXPECT_TRUE(window.BeenSized());
    EXPECT_FALSE(window.BeenSized());
}

TEST_F(WindowTest, EventsOfAWindowWithoutWrapperAreNotRecorded) {
    ASSERT_TRUE(window.Setup(0, 0, 10, 10, "A"));
    VARKO::Platform::SetWindowSlot(window.hWnd, nullptr);
    VARKO::WndProc(window.hWnd, {EventType::KeyDown, 65});
    EXPECT_FALSE(window.keys[65]);
}

TEST_F(WindowTest, CloseRequestEndsTheProcessWithStatusZero) {
    EXPECT_EXIT(
        {
            Window doomed;
            doomed.SetupTitle(0, 0, 10, 10, "A");
            Fake::QueueEvent(doomed.hWnd, {EventType::CloseRequest});
            doomed.DoMessaging();
            std::exit(3);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(WindowTest, WindowWithStaticStorageIsClosedSafelyAtExit) {
    // A fresh process, so that the window object is made before the registry of class names and
    // is therefore destroyed after it.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            static Window lasting;
            lasting.Setup(0, 0, 10, 10, "A");
            std::exit(0);
        },
        ::testing::ExitedWithCode(0), "");
}
