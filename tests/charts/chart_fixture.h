#pragma once
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "charts/drawing_list.h"
#include "common/settings/default_settings.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "tests/support/fake_ui.h"
#include "tests/support/program_folder.h"

namespace charts_test {

// A Korvane program folder with the default settings, a recording message
// box and the chart settings each test chooses.
class ChartTest : public ::testing::Test {
protected:
    ChartTest() : folder(true) {
        common::WriteAllDefaults();
        common::CCENV00M(env);
    }

    static void SetChartSetting(const char* key, const char* value) {
        common::WriteSetting(common::SettingKeyPath("KsnGrh", key), value);
    }

    std::vector<std::string> Warnings() const {
        std::vector<std::string> texts;
        for (const testsupport::ShownBox& box : ui.presenter->boxes) texts.push_back(box.text);
        return texts;
    }

    testsupport::ProgramFolder folder;
    testsupport::FakeUi ui;
    common::EnvRec env;
};

// The items of `list` of one kind and colour, in drawing order.
inline std::vector<charts::DrawItem> ItemsOf(const charts::DrawingList& list, charts::DrawItem::Kind kind,
                                             charts::Rgb colour) {
    std::vector<charts::DrawItem> found;
    std::copy_if(list.items.begin(), list.items.end(), std::back_inserter(found),
                 [&](const charts::DrawItem& item) { return item.kind == kind && item.colour == colour; });
    return found;
}

// The filled boxes one bar wide (bodies and volume bars, not the axis strips).
inline std::vector<charts::DrawItem> BarFills(const charts::DrawingList& list, charts::Rgb colour, double bodyWidth) {
    std::vector<charts::DrawItem> found = ItemsOf(list, charts::DrawItem::Kind::FilledBox, colour);
    std::erase_if(found, [&](const charts::DrawItem& item) { return item.x2 - item.x1 != bodyWidth - 1; });
    return found;
}

}  // namespace charts_test
