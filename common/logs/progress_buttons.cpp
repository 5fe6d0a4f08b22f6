#include "common/logs/progress_buttons.h"

#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/tasks/environment_reset.h"
#include "common/tasks/live_children.h"
#include "common/tasks/waits.h"

namespace common {

void ConfirmCancel() {
    const int answer = AskOkCancelCaution(
        "「中断」ボタンが、押下されました。　\r\n\r\n"
        "「中断」を押下した場合、キャンセルした場所から再処理する事が出来ます　\r\n\r\n"
        "キャンセルして宜しいでしょうか？　\r\n",
        49);
    if (answer != 1) return;
    WriteSetting("MirControl\\Common\\Cancel", "1");
    State().CancelRequested = true;
}

void ConfirmEmergencyStop() {
    const int answer = AskOkCancelCaution(
        "「強制終了」ボタンは、進行中の処理を強制終了し、実行ボタン押下直前の状態に戻します。　\r\n\r\n"
        "アプリケーションの動作不良により、処理が終了せず、「キャンセル」ボタンも効かない場合に押下して下さい。　\r\n\r\n"
        "強制終了して宜しいでしょうか？　\r\n",
        49);
    if (answer != 1) return;
    WriteSetting("MirControl\\Common\\Cancel", "1");
    WaitSeconds(5.0f);
    // Children that did not stop at the flag would write under the reset.
    KillLiveChildren();
    CRSET00M();
    WriteSetting("MirControl\\Common\\Cancel", "0");
    EndProgram();
}

}  // namespace common
