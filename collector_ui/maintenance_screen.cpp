#include "collector_ui/maintenance_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>
#include <string>
#include <vector>

#include "collect/company_pages/research_industries.h"
#include "collect/prices/price_history_dates.h"
#include "collector_ui/program_driver.h"
#include "common/logs/message_box.h"
#include "common/logs/progress.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/run_env.h"
#include "marketdata/analysis_info_reader.h"
#include "marketdata/code_master.h"
#include "marketdata/industry_list.h"
#include "marketdata/price_band.h"
#include "platform/date.h"
#include "ui/busy_guard.h"
#include "ui/handler_report.h"

namespace collector_ui {

namespace {

// An action with the progress dialog of the maintenance buttons, at 1 of 1.
void WithProgress(const std::string& caption, const std::function<void(common::EnvRec&, common::MSGRec&)>& action) {
    common::State().CancelRequested = false;
    common::EnvRec env;
    common::CCENV00M(env);
    common::MSGRec msg;
    msg.ProgressForm = &common::Ui().progress->Show("FormProgress1");
    msg.DisplayOn = true;
    msg.Caption = caption;
    msg.lngDenominator = 1;
    msg.lngNumerator = 1;
    common::ShowProgress(msg);
    struct Unload {
        ~Unload() { common::Ui().progress->Unload("FormProgress1"); }
    } unload;
    action(env, msg);
}


std::string NowText() {
    const platform::DateTime now = platform::Now();
    return platform::DateText(now.date) + " " + platform::TimeText(now.hour, now.minute, now.second);
}

struct Tool {
    const char* name;
    const char* caption;
    std::function<void()> action;
};

}  // namespace

MaintenanceScreen::MaintenanceScreen(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGetBotn");
    setWindowTitle(QStringLiteral("基本情報の収集"));
    const std::vector<Tool> dataTools = {
        {"Btn0303", "★企業一覧の統合",
         [] { WithProgress("企業一覧の統合", [](common::EnvRec& env, common::MSGRec& msg) { marketdata::CFIDXI0M(env, msg); }); }},
        {"Btn0305", "ロイター情報の設定",
         [] {
             WithProgress("マルテックス情報の設定", [](common::EnvRec& env, common::MSGRec& msg) {
                 collect::AMLTX40M(env, msg);
                 marketdata::CFCDMI0M(marketdata::kIndustryListFileNumber, 0, "", env, msg);
             });
         }},
        {"Btn0306", "株価時系列の日付設定", [] { collect::AHPJP50M(); }},
        {"Btn0317", "業種別株価時系列データの作成", [] { RunProgramDriver("AHPID00M"); }},
    };
    const std::vector<Tool> checkTools = {
        {"Btn0312", "分析データの入力",
         [] {
             WithProgress("", [](common::EnvRec& env, common::MSGRec&) {
                 const std::string start = NowText();
                 std::vector<marketdata::AnalysisRec> recs;
                 marketdata::ReadAnalysisRecords(marketdata::kAnalysisInfoFileNumber, 0, env, recs);
                 common::ShowNotice("DateSts=" + start + "\r\nMngMax=" + std::to_string(recs.size()) +
                                        "\r\nDateEnd=" + NowText() + "\r\n",
                                    0);
             });
         }},
        {"Btn0323", "値幅表テスト", [] { marketdata::AHNHB00M(); }},
        {"Btn0324", "乱数データ作成(CCRND000)", [] { common::CCRND000(); }},
    };
    auto* layout = new QVBoxLayout(this);
    int frameNumber = 1;
    for (const std::vector<Tool>* tools : {&dataTools, &checkTools}) {
        auto* frame = new QGroupBox(this);
        frame->setObjectName(QStringLiteral("BotnTabFrame%1").arg(frameNumber++, 2, 10, QChar('0')));
        auto* grid = new QGridLayout(frame);
        int at = 0;
        for (const Tool& tool : *tools) {
            auto* button = new QPushButton(QString::fromUtf8(tool.caption), frame);
            button->setObjectName(tool.name);
            grid->addWidget(button, at / 3, at % 3);
            ++at;
            const std::string procedureId = std::string("frmGetBotn_") + tool.name + "_Click";
            connect(button, &QPushButton::clicked, this, [procedureId, action = tool.action] {
                const ui::BusyGuard busy;
                if (busy.entered()) ui::RunHandler(procedureId.c_str(), action);
            });
        }
        layout->addWidget(frame);
    }
    layout->addStretch();
}

}  // namespace collector_ui
