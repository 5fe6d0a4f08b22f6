#include "common/logs/progress.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/screens/ui_seam.h"

namespace {

// Records every call on the form, in order.
class RecordingView : public common::ProgressView {
public:
    void SetBar(long max, long value) override {
        calls.push_back("bar " + std::to_string(max) + " " + std::to_string(value));
        barMax = max;
        barValue = value;
    }
    void SetButtonsVisible(bool visible) override { calls.push_back(visible ? "buttons on" : "buttons off"); }
    void SetCaption(const std::string& caption) override { calls.push_back("caption " + caption); }
    void SetLabel(const std::string& text) override { calls.push_back("label " + text); }

    std::vector<std::string> calls;
    long barMax = -1;
    long barValue = -1;
};

class CountingPump : public common::EventPump {
public:
    void ProcessEvents() override { ++count; }
    long count = 0;
};

class ProgressTest : public ::testing::Test {
protected:
    void SetUp() override {
        pump = std::make_shared<CountingPump>();
        common::InstallUi({nullptr, nullptr, pump, nullptr, nullptr});
        msg.DisplayOn = true;
        msg.ButtonsOn = true;
        msg.Caption = "Sorting";
        msg.LabelText1 = "Codes";
        msg.LabelText2 = "\r\n\r\nstep 2";
        msg.LabelText3 = " / ";
        msg.LabelText4 = "end";
        msg.ProgressForm = &view;
    }
    void TearDown() override { common::InstallUi({}); }

    std::shared_ptr<CountingPump> pump;
    RecordingView view;
    common::MSGRec msg;
};

TEST_F(ProgressTest, ShowsBarButtonsCaptionAndJoinedLabel) {
    msg.lngDenominator = 200;
    msg.lngNumerator = 50;
    common::ShowProgress(msg);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"bar 200 50", "buttons on", "caption Sorting",
                                                    "label Codes\r\n\r\nstep 2 / end"}));
    EXPECT_EQ(pump->count, 1);

    msg.ButtonsOn = false;
    common::ShowProgress(msg);
    EXPECT_EQ(view.calls[5], "buttons off");
    EXPECT_EQ(pump->count, 2);
}

TEST_F(ProgressTest, DisplayOffChangesNothingButStillPumps) {
    msg.DisplayOn = false;
    msg.lngDenominator = 10;
    msg.lngNumerator = 5;
    common::ShowProgress(msg);
    common::ShowStagedProgress(msg);
    EXPECT_TRUE(view.calls.empty());
    EXPECT_EQ(pump->count, 2);
}

TEST_F(ProgressTest, NoFormShowsNothingButStillPumps) {
    msg.ProgressForm = nullptr;
    msg.lngDenominator = 10;
    common::ShowProgress(msg);
    common::ShowStagedProgress(msg);
    EXPECT_EQ(pump->count, 2);
}

TEST_F(ProgressTest, ZeroDenominatorGivesMaxOneValueZero) {
    msg.lngDenominator = 0;
    msg.lngNumerator = 7;
    common::ShowProgress(msg);
    EXPECT_EQ(view.barMax, 1);
    EXPECT_EQ(view.barValue, 0);
}

TEST_F(ProgressTest, NumeratorAboveDenominatorShowsTheBarFull) {
    msg.lngDenominator = 100;
    msg.lngNumerator = 150;
    common::ShowProgress(msg);
    EXPECT_EQ(view.barMax, 100);
    EXPECT_EQ(view.barValue, 100);
}

TEST_F(ProgressTest, ValueScaleAppliesAndIsClampedToMax) {
    msg.lngDenominator = 100;
    msg.lngNumerator = 50;
    msg.ValueScale = 0.5;
    common::ShowProgress(msg);
    EXPECT_EQ(view.barValue, 25);

    msg.ValueScale = 3;
    common::ShowProgress(msg);
    EXPECT_EQ(view.barMax, 100);
    EXPECT_EQ(view.barValue, 100);

    msg.ValueScale = 0.25;  // 12.5 rounds half to even
    common::ShowProgress(msg);
    EXPECT_EQ(view.barValue, 12);

    msg.ValueScale = 0;  // counts as 1
    common::ShowProgress(msg);
    EXPECT_EQ(view.barValue, 50);
}

TEST_F(ProgressTest, NegativeValuesShowAnEmptyBar) {
    msg.lngDenominator = 100;
    msg.lngNumerator = -5;
    common::ShowProgress(msg);
    EXPECT_EQ(view.barValue, 0);
}

TEST_F(ProgressTest, StagedBarCountsStagesInThousandths) {
    msg.StageCount = 4;
    msg.StagesDone = 1;
    msg.lngDenominator = 4;
    msg.lngNumerator = 1;
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"bar 4000 1250", "buttons on", "caption Sorting",
                                                    "label Codes\r\n\r\nstep 2 / end"}));
    EXPECT_EQ(pump->count, 1);
}

TEST_F(ProgressTest, StagedStartOfAStageShowsAtLeastOneStep) {
    msg.StageCount = 2;
    msg.StagesDone = 0;
    msg.lngDenominator = 10;
    msg.lngNumerator = 0;  // counts as 1: 1/10 of the stage
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barMax, 2000);
    EXPECT_EQ(view.barValue, 100);

    msg.lngDenominator = 0;  // both count as 1: the whole stage
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barValue, 1000);
}

TEST_F(ProgressTest, StagedNumeratorAboveDenominatorShowsOneMoreStage) {
    msg.StageCount = 5;
    msg.StagesDone = 2;
    msg.lngDenominator = 10;
    msg.lngNumerator = 40;
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barMax, 5000);
    EXPECT_EQ(view.barValue, 3000);  // StagesDone + 1
}

TEST_F(ProgressTest, StagedBarStaysAtMax) {
    msg.StageCount = 3;
    msg.StagesDone = 3;
    msg.lngDenominator = 10;
    msg.lngNumerator = 5;
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barMax, 3000);
    EXPECT_EQ(view.barValue, 3000);

    msg.StagesDone = 7;
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barValue, 3000);

    msg.StageCount = 0;  // counts as 1
    msg.StagesDone = 0;
    common::ShowStagedProgress(msg);
    EXPECT_EQ(view.barMax, 1000);
    EXPECT_EQ(view.barValue, 500);
}

TEST(AtLeastOne, RaisesToOne) {
    EXPECT_EQ(common::AtLeastOne(5), 5);
    EXPECT_EQ(common::AtLeastOne(1), 1);
    EXPECT_EQ(common::AtLeastOne(0), 1);
    EXPECT_EQ(common::AtLeastOne(-3), 1);
}

TEST(ProgressStep, FollowsTheCount) {
    EXPECT_EQ(common::ProgressStep(-1), 1);
    EXPECT_EQ(common::ProgressStep(0), 1);
    EXPECT_EQ(common::ProgressStep(10), 1);
    EXPECT_EQ(common::ProgressStep(11), 10);
    EXPECT_EQ(common::ProgressStep(100), 10);
    EXPECT_EQ(common::ProgressStep(101), 100);
    EXPECT_EQ(common::ProgressStep(1000000), 100);
}

}  // namespace
