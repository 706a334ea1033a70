#include "src/message_box.h"

#include "tests/support/platform_fake.h"

#include <gtest/gtest.h>

namespace Fake = VARKO::Testing::FakePlatform;
using VARKO::Platform::MessageAnswer;
using VARKO::Platform::MessageButtons;
using VARKO::Platform::MessageIcon;

// The line on the error stream comes before the box, which may wait for the user.
TEST(MessageBox, WritesOneLineThenShowsTheBoxAndPassesTheAnswerOn) {
    Fake::Reset();
    Fake::ScriptAnswers({MessageAnswer::No});
    testing::internal::CaptureStderr();
    const MessageAnswer answer = VARKO::ShowMessageBox("First line\nsecond line", "VARKO GL",
                                                       MessageButtons::YesNo, MessageIcon::Stop);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "[VARKO GL] First line\nsecond line\n");
    EXPECT_EQ(answer, MessageAnswer::No);
    ASSERT_EQ(Fake::Messages().size(), 1u);
    EXPECT_EQ(Fake::Messages()[0].caption, "VARKO GL");
    EXPECT_EQ(Fake::Messages()[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(Fake::Messages()[0].icon, MessageIcon::Stop);
}
