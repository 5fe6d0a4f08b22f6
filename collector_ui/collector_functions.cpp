#include "collector_ui/collector_functions.h"

#include <QPushButton>
#include <string>

#include "collect/industry/industry_series.h"
#include "common/files/data_file.h"
#include "common/logs/message_box.h"
#include "common/logs/progress.h"
#include "common/run_state.h"
#include "common/screens/run_control.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/settings/settings_group.h"
#include "common/startup/batch_chain.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"
#include "platform/file_system.h"
#include "ui/busy_guard.h"
#include "ui/handler_report.h"
#include "ui/other_functions_screen.h"

namespace collector_ui {

namespace {

constexpr const char* kNoIndustries = "業種情報が存在しません。　";
constexpr const char* kNoIndustrySeries = "作成された業種別株価時系列データはありませんでした。　";

// Merges the industry lists of the collected company lists and builds the
// code master from them; false when there was no industry to build from.
bool RebuildCodeMaster(std::string& stepId) {
    common::EnvRec env;
    common::CCENV00M(env);
    common::MSGRec msg;
    stepId = "CFIDXI0M";
    marketdata::CFIDXI0M(env, msg);
    const std::string list =
        common::BuildDataFilePath(marketdata::kIndustryListFileNumber, 0, 0, "", "", env);
    if (!platform::FileExists(list)) return false;
    stepId = "CFCDMI0M";
    marketdata::CFCDMI0M(marketdata::kIndustryListFileNumber, 0, "", env, msg);
    return true;
}

void InitCodeMaster() {
    if (!common::CheckExclusiveCollection()) return;
    if (common::AskOkCancel("収集した企業一覧の業種情報から、コードマスターを作成し直します。　\r\n\r\n"
                            "宜しいですか？　",
                            33) != 1) {
        return;
    }
    bool built = false;
    common::RunMarkedBatch(common::OwnRunMark(), [&built](std::string& stepId) { built = RebuildCodeMaster(stepId); });
    if (!built) {
        common::ShowWarning(kNoIndustries, 48);
        return;
    }
    common::ShowNotice("コードマスターの初期化が終了しました。　", 64);
}

void BuildIndustrySeries() {
    if (!common::CheckExclusiveCollection()) return;
    if (common::AskOkCancel("業種別株価時系列データを作成します。宜しいですか？　", 33) != 1) return;
    long written = 0;
    common::RunMarkedBatch(common::OwnRunMark(), [&written](std::string& stepId) {
        stepId = "AHPID00M";
        written = collect::AHPID00M();
    });
    // A cancelled or failed build is no completion.
    if (common::ReadSetting("MirControl\\Common\\Cancel") == "1") return;
    // The run log names each industry that was not built, and why.
    if (written == 0) {
        common::ShowWarning(kNoIndustrySeries, 48);
        return;
    }
    common::ShowNotice("業種別株価時系列データを作成しました。　", 64);
}

void Connect(ui::OtherFunctionsScreen& screen, const char* button, const char* procedureId, void (*work)()) {
    QObject::connect(screen.button(button), &QPushButton::clicked, &screen, [&screen, button, procedureId, work] {
        const ui::BusyGuard busy;
        if (!busy.entered()) return;
        ui::RunHandler(procedureId, work);
        screen.button(button)->setFocus();
    });
}

}  // namespace

void ConnectCollectorFunctions(ui::OtherFunctionsScreen& screen) {
    Connect(screen, "HelpCommand1", "frmGetHelp_HelpCommand1_Click", InitCodeMaster);
    Connect(screen, "HelpCommand5", "frmGetHelp_HelpCommand5_Click", BuildIndustrySeries);
}

void ExportMarketChoices() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::ExportSettingsGroup(7, env);
}

}  // namespace collector_ui
