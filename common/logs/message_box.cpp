#include "common/logs/message_box.h"

#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "platform/trapped_error.h"

namespace common {

namespace {

constexpr const char* kCrLf = "\r\n";

const std::string kApology = std::string(kCrLf) + kCrLf + "ご不便をお掛けして、大変申し訳ございません。　" + kCrLf +
                             "お手数をお掛けしますが、開発者へ連絡をお願い致します。　" + kCrLf;

const std::string kResetAdvice = std::string(kCrLf) + kCrLf + "ご不便をお掛けして、大変申し訳ございません。　" + kCrLf +
                                 "「その他の機能」の「実行環境のリセット」を行ってから再実行して下さい。　" + kCrLf +
                                 kCrLf + "それでも同様のエラーが発生する場合は、お手数をお掛けしますが、　" + kCrLf +
                                 "開発者へ連絡をお願い致します。　" + kCrLf;

const std::string kFetchFailureCauses =
    std::string(kCrLf) + kCrLf + "ご不便をお掛けして、大変申し訳ございません。" + kCrLf +
    "原因としては、以下の要因が考えられます。　　　　　　　　　　　　　" + kCrLf +
    "　　①ネットワークの切断、または瞬断　　　　　　　　　　　　　　　　" + kCrLf +
    "　　　　ＬＡＮケーブル等を確認の上、再実行して下さい。　　　　　　　　" + kCrLf +
    "　　②データ収集元のサイトがメンテナンス中　　　　　　　　　　　　　" + kCrLf +
    "　　　　ＩＥ当を利用して、上記ＵＲＬにアクセス出来るか確認して下さい。" + kCrLf +
    "　　　　メンテナンス中の場合は、メンテナンス終了後に再実行して下さい。" + kCrLf +
    "　　③ＵＲＬが変更された　　　　　　　　　　　　　　　　　　　　　　" + kCrLf +
    "　　　　ＩＥ当を利用して、上記ＵＲＬにアクセス出来るか確認して下さい。" + kCrLf +
    "　　④提供情報が変更された　　　　　　　　　　　　　　　　　　　　　" + kCrLf + kCrLf +
    "①②の対応でも解消しない、または③④の事象が発生した場合は、　　　　" + kCrLf +
    "お手数をお掛けしますが、開発者へ連絡をお願い致します。　　　　" + kCrLf;

int Present(const std::string& text, int style) {
    return Ui().presenter->Show(text, style, State().programTitle);
}

}  // namespace

void ShowMessage(const std::string& text, int style) { Present(text, style); }
void ShowWarning(const std::string& text, int style) { Present(text, style); }
void ShowNotice(const std::string& text, int style) { Present(text, style); }
int AskOkCancel(const std::string& text, int style) { return Present(text, style); }
int AskOkCancelCaution(const std::string& text, int style) { return Present(text, style); }

void ShowAppErrorMessage(const std::string& text, int style) { Present(text + kApology, style); }

void ShowResetAdviceMessage(const std::string& text, int style) { Present(text + kResetAdvice, style); }

void ShowVbErrorMessage(const std::string& text, int style, const platform::TrappedError& error) {
    Present(kCrLf + text + kCrLf + std::to_string(error.number()) + ":" + error.description() + kApology, style);
}

void ShowUrlErrorMessage(const std::string& text, int style) {
    Present(text + kCrLf + "URL:" + State().lastFetchUrl + kFetchFailureCauses, style);
}

void EndWithAppError(const std::string& message) {
    ShowAppErrorMessage(message, 16);
    EndProgram();
}

}  // namespace common
