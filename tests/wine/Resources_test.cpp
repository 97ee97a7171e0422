#include <gtest/gtest.h>

#include "platform/Orvex_Resources.h"
#include "tests/wine/support/HelperProcess.h"

using orvex::THandle;

TEST(AllModesResources, GdiObjectIsDeletedOnceByItsLastOwner) {
    const HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
    const HFONT second = CreateFontA(12, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "Arial");
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    {
        orvex::TBrush kept;
        {
            orvex::TBrush owner(first);
            kept = std::move(owner);
            EXPECT_FALSE(owner);
        }
        EXPECT_EQ(GetObjectType(first), static_cast<DWORD>(OBJ_BRUSH)) << "a moved-from owner must not delete";
        EXPECT_EQ(kept.get(), first);
    }
    EXPECT_EQ(GetObjectType(first), 0u) << "the last owner must delete";

    orvex::TFont font(second);
    orvex::TFont other;
    other = std::move(font);
    EXPECT_EQ(GetObjectType(second), static_cast<DWORD>(OBJ_FONT));
    other.reset();
    EXPECT_EQ(GetObjectType(second), 0u);
    EXPECT_FALSE(other);
}

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
