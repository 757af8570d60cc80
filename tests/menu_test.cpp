// The context menu (menu.cpp): its labels, order and check marks.
#include "window_fixture.h"

#include <gtest/gtest.h>

TEST_F(Window, MenuLabelsAndOrder)
{
    HMENU menu = BuildContextMenu();
    const char* labels[] = {"&Restore",       "&Move",      "Mi&nimize", "&Close", "",
                            "&Always on top", "&Show date", "Colors",    "",       "About..."};
    ASSERT_EQ(GetMenuItemCount(menu), 10);
    for (int i = 0; i < 10; i++) {
        char text[64] = "";
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ(text, labels[i]) << i;
    }
    HMENU colors = GetSubMenu(menu, 7);
    ASSERT_NE(colors, nullptr);
    const UINT ids[] = {IDM_COLOR_HOURS, IDM_COLOR_MINUTES, IDM_COLOR_SECONDS, IDM_COLOR_DATE};
    for (int i = 0; i < 4; i++) {
        EXPECT_EQ(GetMenuItemID(colors, i), ids[i]);
    }
    DestroyMenu(menu);
    EXPECT_FALSE(IsMenu(colors)) << "destroying the menu destroys its submenu";
}
