#include "common/logs/message_box.h"

#include <gtest/gtest.h>

#include "common/run_state.h"
#include "platform/trapped_error.h"
#include "tests/support/fake_ui.h"

namespace {

const std::string kApology =
    "\r\n\r\nご不便をお掛けして、大変申し訳ございません。　\r\nお手数をお掛けしますが、開発者へ連絡をお願い致します。　\r\n";

TEST(MessageBox, TextsStylesAndCaption) {
    testsupport::FakeUi ui;
    common::State().programTitle = "Korvane";
    common::State().lastFetchUrl = "http://127.0.0.1/x";
    common::ShowMessage("X", 64);
    common::ShowAppErrorMessage("X", 16);
    common::ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, platform::TrappedError(11, "0 で除算しました。", "s"));
    common::ShowResetAdviceMessage("R", 48);
    common::ShowUrlErrorMessage("U", 16);

    const auto& boxes = ui.presenter->boxes;
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].text, "X");
    EXPECT_EQ(boxes[0].style, 64);
    EXPECT_EQ(boxes[0].caption, "Korvane");
    EXPECT_EQ(boxes[1].text, "X" + kApology);
    EXPECT_EQ(boxes[2].text, "\r\nＶＢエラーを検出しました。　\r\n11:0 で除算しました。" + kApology);
    EXPECT_EQ(boxes[3].text.rfind("R\r\n\r\nご不便をお掛けして、大変申し訳ございません。　\r\n「その他の機能」の「実行環境のリセット」", 0), 0u);
    EXPECT_TRUE(boxes[3].text.ends_with("\r\n\r\nそれでも同様のエラーが発生する場合は、お手数をお掛けしますが、　\r\n開発者へ連絡をお願い致します。　\r\n"));
    EXPECT_EQ(boxes[4].text.rfind("U\r\nURL:http://127.0.0.1/x\r\n\r\nご不便をお掛けして、大変申し訳ございません。\r\n原因としては", 0),
              0u);
    common::State() = common::RunState{};
}

TEST(MessageBox, AskingReturnsThePressedButtonAndCloseIsCancel) {
    testsupport::FakeUi ui;
    ui.presenter->answers = {1, 2};
    EXPECT_EQ(common::AskOkCancel("Q", 33), 1);
    EXPECT_EQ(common::AskOkCancelCaution("Q", 49), 2);
}

TEST(MessageBox, AppErrorEndsTheProgram) {
    testsupport::FakeUi ui;
    EXPECT_THROW(common::EndWithAppError("アプリケーションエラー（処理の選択エラー）　"), testsupport::ProgramEnded);
    ASSERT_EQ(ui.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui.presenter->boxes[0].style, 16);
}

}  // namespace
