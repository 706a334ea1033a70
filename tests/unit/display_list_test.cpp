#include "src/display_list.h"

#include "tests/support/gl_fake.h"

#include <gtest/gtest.h>

namespace GL = VARKO::Testing::GL;
using VARKO::DisplayList;
using Texts = std::vector<std::string>;

class DisplayListTest : public ::testing::Test {
protected:
    void SetUp() override { GL::Reset(); }
};

TEST_F(DisplayListTest, ClearDeletesEachOpenedListOnceInOpeningOrder) {
    DisplayList lists;
    const unsigned int first = lists.Start();
    lists.End();
    const unsigned int second = lists.Start();
    lists.End();
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, first);
    GL::ClearLog();

    lists.Clear();
    EXPECT_EQ(GL::CallTexts(), (Texts{"glDeleteLists(" + std::to_string(first) + ", 1)",
                                      "glDeleteLists(" + std::to_string(second) + ", 1)"}));
    GL::ClearLog();
    lists.Clear();
    EXPECT_TRUE(GL::NoGLCalls());
}

TEST_F(DisplayListTest, FailedGenListsReturnsZeroAndOwnsNothing) {
    {
        DisplayList lists;
        GL::SetGenListsResult(0);
        EXPECT_EQ(lists.Start(), 0u);
        EXPECT_EQ(GL::CountCalls("glNewList"), 0u);
    }
    // The destructor has nothing to delete, not even a list named 0.
    EXPECT_EQ(GL::CountCalls("glDeleteLists"), 0u);
}

TEST_F(DisplayListTest, ExecuteCallsAnyNameAndDestructorDeletesOnlyOwnLists) {
    unsigned int own = 0;
    {
        DisplayList lists;
        own = lists.Start();
        lists.End();
        lists.Execute(own + 40);
        EXPECT_EQ(GL::CallTexts("glCallList"),
                  (Texts{"glCallList(" + std::to_string(own + 40) + ")"}));
        GL::ClearLog();
    }
    EXPECT_EQ(GL::CallTexts(), (Texts{"glDeleteLists(" + std::to_string(own) + ", 1)"}));
}
