#include "analyzer_ui/ksen_menu.h"

#include <QMdiArea>
#include <QObject>
#include <QPushButton>
#include <optional>
#include <string>

#include "analysis/analysis_info_start.h"
#include "analysis/exclusive_run.h"
#include "analysis/progress_step.h"
#include "analyzer_ui/analysis_info_creation.h"
#include "analyzer_ui/analysis_menu.h"
#include "analyzer_ui/judgement_conditions_screen.h"
#include "chart_ui/chart_window.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings_group.h"
#include "common/startup/interactive_start.h"
#include "list_ui/judgement_result_screen.h"
#include "list_ui/list_progress.h"
#include "list_ui/stock_list_screen.h"
#include "lists/column_catalogue.h"
#include "ui/environment_screen.h"
#include "ui/handler_report.h"
#include "ui/main_window.h"
#include "ui/mdi_screen.h"
#include "ui/other_functions_screen.h"
#include "ui/screen_guard.h"
#include "ui/screen_layout.h"

namespace analyzer_ui {

namespace {

// The list-column catalogue the stock-analysis screen and its column chooser
// share, for as long as the main window lives.
class CatalogueHolder : public QObject {
public:
    explicit CatalogueHolder(QObject* parent) : QObject(parent) {}
    lists::ColumnCatalogue catalogue;
};

class StartProgress {
public:
    StartProgress() : progress_(Caption()) {}

    common::MSGRec& msg() { return progress_.msg; }

    // One step of the screens' set-up.
    void Step(const char* label) {
        long stride = 1;
        analysis::SetProgressStep(label, 1, 0, stride, progress_.msg);
    }

private:
    static std::string Caption() { return "「" + common::State().programTitle + "」の準備中"; }

    list_ui::ListProgress progress_;
};

template <typename Screen>
Screen* Added(QMdiArea& area, Screen* screen) {
    ui::AddScreen(area, screen);
    return screen;
}

// The screens' set-up, one progress step each, after the settings groups
// that the screens read are imported.
AnalysisScreens BuildScreens(QMdiArea& area, AnalysisMenuScreen*& menu, lists::ColumnCatalogue& catalogue,
                             common::EnvRec& env, StartProgress& progress) {
    for (const int group : {1, 2, 3, 5, 6, 7}) common::ImportSettingsGroup(group, env);
    AnalysisScreens s;
    progress.Step("メニュー画面の初期化中");
    menu = Added(area, new AnalysisMenuScreen);
    progress.Step("環境設定画面の初期化中");
    s.environment = Added(area, new ui::EnvironmentScreen(true));
    progress.Step("その多機能画面の初期化中");
    s.other = Added(area, new ui::OtherFunctionsScreen(false, analysis::CheckExclusiveRun));
    progress.Step("鉤足判定画面の初期化中");
    s.conditions = Added(area, new JudgementConditionsScreen);
    progress.Step("鉤足チャート表示画面の初期化中");
    s.chart = Added(area, new chart_ui::ChartWindow);
    progress.Step("鉤足判定結果確認画面の初期化中");
    s.results = Added(area, new list_ui::JudgementResultScreen(*s.chart));
    progress.Step("銘柄分析画面の初期化中");
    lists::CFMCT10M(env, "", catalogue);
    s.stocks = Added(area, new list_ui::StockListScreen(catalogue, *s.chart));

    progress.Step("画面の編集中");
    s.conditions->Restore();
    s.environment->ShowMultiTaskSettings();
    s.other->Restore({});
    return s;
}

void ConnectScreens(QMdiArea& area, AnalysisMenuScreen& menu, const AnalysisScreens& s,
                    lists::ColumnCatalogue& catalogue) {
    ConnectAnalysisMenu(menu, s, [&catalogue] { catalogue.columns.clear(); });
    ConnectAnalysisInfoCreation(*s.other);
    ui::CheckWhenLeft(area, *s.environment, [env = s.environment] { return env->CheckOnLeave(); });
    ui::CheckWhenLeft(area, *s.conditions, [conditions = s.conditions] { return conditions->CheckOnLeave(); });
    ui::CheckWhenLeft(area, *s.stocks, [stocks = s.stocks] { return stocks->CheckOnLeave(); });
    ui::KeepScreensPlaced(area, menu, {s.environment, s.chart, s.other, s.stocks, s.conditions, s.results});
}

void ShowScreens(AnalysisMenuScreen& menu, const AnalysisScreens& s) {
    for (QWidget* screen : std::initializer_list<QWidget*>{&menu, s.environment, s.other, s.stocks, s.chart,
                                                            s.results, s.conditions}) {
        screen->parentWidget()->show();
    }
    ui::BringToFront(menu);
    ui::BringToFront(*s.stocks);
}

void StartScreens(ui::MainWindow& window) {
    common::EnvRec env;
    common::PrepareInteractiveStart("KsenMenu", env);
    ui::ShowVersionTitle(window);
    window.showMaximized();

    common::State().CancelRequested = false;
    auto* holder = new CatalogueHolder(&window);
    QMdiArea& area = *window.mdiArea();
    AnalysisMenuScreen* menu = nullptr;
    AnalysisScreens screens;
    {
        StartProgress progress;
        const ui::ScreenDisabled disabled(window);
        if (!analysis::PrepareAnalysisInfo(env, progress.msg())) common::EndProgram();
        screens = BuildScreens(area, menu, holder->catalogue, env, progress);
    }
    ConnectScreens(area, *menu, screens, holder->catalogue);
    ShowScreens(*menu, screens);
}

}  // namespace

void KsenMenu(ui::MainWindow& window) {
    ui::RunEndingHandler("KsenMenu", [&] { StartScreens(window); });
}

}  // namespace analyzer_ui
