#include "common/logs/message_buttons.h"

#include <gtest/gtest.h>

#include "common/logs/message_style.h"

namespace {

using namespace common::msg_result;

struct StyleCase {
    int style;
    std::vector<int> buttons;
    int defaultButton;
    int escapeButton;
};

TEST(MessageButtons, StylesInUse) {
    const StyleCase cases[] = {
        {0, {kOk}, kOk, kOk},
        {16, {kOk}, kOk, kOk},
        {33, {kOk, kCancel}, kOk, kCancel},
        {48, {kOk}, kOk, kOk},
        {49, {kOk, kCancel}, kOk, kCancel},
        {64, {kOk}, kOk, kOk},
        {4 + 32, {kYes, kNo}, kYes, kNo},
        {4 + 32 + 256, {kYes, kNo}, kNo, kNo},
        {3 + 512, {kYes, kNo, kCancel}, kCancel, kCancel},
        {1 + 512, {kOk, kCancel}, kCancel, kCancel},
    };
    for (const StyleCase& c : cases) {
        SCOPED_TRACE(c.style);
        EXPECT_EQ(common::ButtonsOfStyle(c.style), c.buttons);
        EXPECT_EQ(common::DefaultButtonOfStyle(c.style), c.defaultButton);
        EXPECT_EQ(common::EscapeButtonOfStyle(c.style), c.escapeButton);
    }
}

TEST(MessageButtons, NamesRoundTrip) {
    for (int button : {kOk, kCancel, kAbort, kRetry, kIgnore, kYes, kNo}) {
        EXPECT_EQ(common::ButtonFromName(common::ButtonName(button)), button);
    }
    EXPECT_EQ(common::ButtonFromName("ok"), 0);
    EXPECT_EQ(common::ButtonFromName(""), 0);
}

}  // namespace
