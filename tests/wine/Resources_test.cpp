#include <gtest/gtest.h>

#include "platform/Orvex_Resources.h"
#include "tests/wine/support/HelperProcess.h"

using orvex::THandle;

TEST(AllModesResources, HandleIsClosedOnceWhenOwnerEnds) {
    HANDLE raw = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(raw, nullptr);
    HANDLE dup = nullptr;
    ASSERT_TRUE(DuplicateHandle(GetCurrentProcess(), raw, GetCurrentProcess(), &dup, 0, FALSE, DUPLICATE_SAME_ACCESS));
    {
        THandle owner(raw);
        THandle moved(std::move(owner));
        EXPECT_FALSE(owner);
        EXPECT_TRUE(moved);
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(raw, &flags)) << "the owner must have closed the handle";
    EXPECT_TRUE(GetHandleInformation(dup, &flags));
    CloseHandle(dup);
}

TEST(AllModesHelper, HelperReportsItsObjects) {
    orvex::test::THelperProcess helper;
    ASSERT_TRUE(helper.started());
    EXPECT_EQ(std::to_string(helper.pid()), helper.value("pid"));
    EXPECT_EQ(helper.values("tid").size(), 3u);
    EXPECT_NE(helper.hex("mutex"), 0u);
}
