#include "analyzer_ui/analysis_info_creation.h"

#include <QPushButton>
#include <optional>

#include "analysis/analysis_info.h"
#include "analysis/exclusive_run.h"
#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "list_ui/list_progress.h"
#include "ui/main_window.h"
#include "ui/other_functions_screen.h"
#include "ui/screen_guard.h"

namespace analyzer_ui {

namespace {

bool BuildAnalysisInfo() {
    common::State().CancelRequested = false;
    common::EnvRec env;
    common::CCENV00M(env);
    list_ui::ListProgress progress("分析情報の作成");
    std::optional<ui::ScreenDisabled> disabled;
    if (QWidget* window = ui::FindMainWindow()) disabled.emplace(*window);
    return analysis::AMNCM00M(env, progress.msg);
}

}  // namespace

void ConnectAnalysisInfoCreation(ui::OtherFunctionsScreen& screen) {
    QPushButton* button = screen.button("Command1");
    QObject::connect(button, &QPushButton::clicked, &screen, [button] {
        ui::RunGuarded("frmGetHelp_Command1_Click", [] {
            if (!analysis::CheckExclusiveRun()) return;
            if (BuildAnalysisInfo()) common::ShowNotice("分析情報の作成完了。　", common::msg_style::kInformation);
        });
        button->setFocus();
    });
}

}  // namespace analyzer_ui
