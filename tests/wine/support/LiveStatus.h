// What the main window's status bar shows over live data.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/Main.h"
#include "app/pure/MainRows.h"
#include "tests/wine/support/GuiDriver.h"

namespace orvex::test {

// The three counts and the empty notes panel; where the collection gave up
// handle-name queries (on a loaded machine any name can take longer than
// their limit), a fifth panel counting them.
inline void ExpectLiveStatus(const app::Twnd_Main& window) {
    const std::vector<std::string> panels = StatusTexts(window.sb());
    const std::string notice = app::UnreadNamesNotice(window.ProcList.UnreadHandleNames());
    ASSERT_EQ(panels.size(), notice.empty() ? 4u : 5u) << notice;
    EXPECT_EQ(panels[0], "Threads: " + std::to_string(window.ProcList.ThreadCount()));
    EXPECT_EQ(panels[1], "Handles: " + std::to_string(window.ProcList.HandleCount()));
    EXPECT_EQ(panels[2], "Windows: " + std::to_string(window.ProcList.WindowCount()));
    EXPECT_EQ(panels[3], "");
    if (!notice.empty()) {
        EXPECT_EQ(panels[4], notice);
    }
}

}  // namespace orvex::test
