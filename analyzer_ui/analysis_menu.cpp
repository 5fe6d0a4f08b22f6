#include "analyzer_ui/analysis_menu.h"

#include <QPushButton>

#include "analysis/analysis_exit.h"
#include "analyzer_ui/judgement_conditions_screen.h"
#include "chart_ui/chart_window.h"
#include "common/screens/ui_seam.h"
#include "common/settings/system_state_file.h"
#include "list_ui/judgement_result_screen.h"
#include "list_ui/list_view.h"
#include "list_ui/stock_list_screen.h"
#include "ui/busy_guard.h"
#include "ui/environment_screen.h"
#include "ui/handler_report.h"
#include "ui/mdi_screen.h"
#include "ui/menu_form.h"
#include "ui/other_functions_screen.h"
#include "ui/screen_guard.h"

namespace analyzer_ui {

namespace {

void RefreshSystemState() {
    common::SystemStateRec state;
    common::RefreshSystemStateFile(state);
}

void OnClick(AnalysisMenuScreen& menu, const char* button, std::function<void()> handler) {
    QObject::connect(menu.findChild<QPushButton*>(button), &QPushButton::clicked, &menu, std::move(handler));
}

// A screen brought forward with `quiet` disabled meanwhile, so that clicks
// queued during the switch do not reach it.
void BringForward(const char* procedureId, QWidget& screen, std::initializer_list<QWidget*> quiet) {
    ui::RunGuarded(procedureId, [&] {
        for (QWidget* widget : quiet) widget->setEnabled(false);
        RefreshSystemState();
        for (QWidget* widget : quiet) widget->setEnabled(true);
        ui::BringToFront(screen);
    });
}

}  // namespace

AnalysisMenuScreen::AnalysisMenuScreen(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGetKMenu");
    ui::BuildMenuForm(*this,
                      {{"Command12", "銘柄分析"},
                       {"Command1", "鉤足判定"},
                       {"Command2", "鉤足判定結果確認"},
                       {"Command10", "鉤足グラフ確認"},
                       {"Command7", "環境設定"},
                       {"Command4", "その他の機能"}},
                      {"Command6", "終　　了"});
}

void ConnectAnalysisMenu(AnalysisMenuScreen& menu, const AnalysisScreens& screens, std::function<void()> beforeEnd) {
    OnClick(menu, "Command12", [s = screens] {
        BringForward("frmGetKMenu_Command12_Click", *s.stocks, {s.stocks->ListView1});
    });
    OnClick(menu, "Command1", [s = screens, &menu] {
        BringForward("frmGetKMenu_Command1_Click", *s.conditions, {&menu});
    });
    OnClick(menu, "Command2", [s = screens] {
        BringForward("frmGetKMenu_Command2_Click", *s.results, {s.results->ListView1, s.results->ListView2});
    });
    OnClick(menu, "Command10", [s = screens, &menu] {
        BringForward("frmGetKMenu_Command10_Click", *s.chart, {&menu});
    });
    OnClick(menu, "Command7", [s = screens] {
        const ui::BusyGuard busy;
        if (busy.entered()) ui::BringToFront(*s.environment);
    });
    OnClick(menu, "Command4", [s = screens] { ui::BringToFront(*s.other); });
    OnClick(menu, "Command6", [beforeEnd = std::move(beforeEnd)] {
        ui::RunEndingHandler("frmGetKMenu_Command6_Click", [&] {
            analysis::SaveAnalysisSettingsAtExit();
            if (beforeEnd) beforeEnd();
            common::EndProgram();
        });
    });
}

}  // namespace analyzer_ui
