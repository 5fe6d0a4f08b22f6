#include "collector_ui/collector_menu.h"

#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QVBoxLayout>

#include "collector_ui/collection_settings_screen.h"
#include "collector_ui/collector_functions.h"
#include "collector_ui/maintenance_screen.h"
#include "common/ctr_file.h"
#include "common/logs.h"
#include "common/message_box.h"
#include "common/run_control.h"
#include "common/run_env.h"
#include "common/run_state.h"
#include "common/settings_group.h"
#include "common/ui_seam.h"
#include "platform/trapped_error.h"
#include "ui/busy_guard.h"
#include "ui/environment_screen.h"
#include "ui/main_window.h"
#include "ui/mdi_screen.h"
#include "ui/other_functions_screen.h"
#include "ui/program_version.h"
#include "ui/qt_text.h"
#include "ui/screen_placement.h"

namespace collector_ui {

namespace {

// The screens of the main window, laid out again whenever it changes size
// once start-up is over.
class ScreenLayout : public QObject {
public:
    ScreenLayout(QMdiArea& area, QWidget& menu, std::vector<QWidget*> screens)
        : QObject(&area), area_(area), menu_(menu), screens_(std::move(screens)) {
        area.viewport()->installEventFilter(this);
    }

    void LayOut() {
        ui::FitFormToScreenHeight(area_, Window(menu_));
        for (QWidget* screen : screens_) ui::PlaceScreenOnLoad(area_, Window(menu_), Window(*screen));
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Resize && !common::State().StartingUp) LayOut();
        return false;
    }

private:
    static QWidget& Window(QWidget& screen) { return *screen.parentWidget(); }

    QMdiArea& area_;
    QWidget& menu_;
    std::vector<QWidget*> screens_;
};

QPushButton* MenuButton(const char* name, const char* caption, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setMinimumHeight(40);
    return button;
}

void ExitProgram() {
    common::EnvRec env;
    common::CCENV00M(env);
    common::ExportSettingsGroup(4, env);
    common::ExportSettingsGroup(6, env);
    common::EndProgram();
}

// The menu's buttons bring their screens to the front; the environment
// screen's checks run when the user leaves it.
void ConnectMenu(MenuScreen& menu, CollectionSettingsScreen& settings, ui::EnvironmentScreen& environment,
                 ui::OtherFunctionsScreen& other, MaintenanceScreen& maintenance) {
    auto front = [&settings](QWidget& target) {
        const ui::BusyGuard busy;
        if (!busy.entered()) return;
        settings.SaveScreenState();
        ui::BringToFront(target);
    };
    QObject::connect(menu.findChild<QPushButton*>("Command3"), &QPushButton::clicked, &menu,
                     [front, &settings] { front(settings); });
    QObject::connect(menu.findChild<QPushButton*>("Command2"), &QPushButton::clicked, &menu,
                     [front, &maintenance] { front(maintenance); });
    QObject::connect(menu.findChild<QPushButton*>("Command7"), &QPushButton::clicked, &menu, [&environment] {
        const ui::BusyGuard busy;
        if (busy.entered()) ui::BringToFront(environment);
    });
    QObject::connect(menu.findChild<QPushButton*>("Command4"), &QPushButton::clicked, &menu,
                     [&other] { ui::BringToFront(other); });
    QObject::connect(menu.findChild<QPushButton*>("Command6"), &QPushButton::clicked, &menu, [] {
        try {
            ExitProgram();
        } catch (const platform::TrappedError& error) {
            common::LogVbError("ＶＢエラーを検出しました。　", 16, "frmGetMenu_Command6_Click", error);
            common::ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, error);
            common::EndProgram();
        }
    });
}

void WatchEnvironmentLeave(QMdiArea& area, ui::EnvironmentScreen& environment) {
    auto* envWindow = environment.parentWidget();
    auto previous = std::make_shared<QMdiSubWindow*>(nullptr);
    QObject::connect(&area, &QMdiArea::subWindowActivated, &environment,
                     [previous, envWindow, &environment](QMdiSubWindow* now) {
                         if (now == nullptr) return;
                         const bool leaving = *previous == envWindow && now != envWindow;
                         *previous = now;
                         if (leaving && !environment.CheckOnLeave()) ui::BringToFront(environment);
                     });
}

void BuildScreens(ui::MainWindow& window, std::function<platform::Date()> today) {
    common::RunState& state = common::State();
    state.procedureId = "HpGtMenu";
    common::ClearOwnRunMark();
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    common::LoadLogSwitches(env);
    common::CtrRec control;
    common::ReadCtrRec(8, env, control);

    window.setWindowTitle(ui::ToQt(state.programTitle) + QStringLiteral("  Ver.") + ui::kProgramVersion);
    window.show();

    QMdiArea& area = *window.mdiArea();
    auto* menu = new MenuScreen;
    auto* environment = new ui::EnvironmentScreen(false);
    auto* multiCount = environment->findChild<QLineEdit*>("MultiCount");
    auto* settings = new CollectionSettingsScreen([multiCount] { return ui::FromQt(multiCount->text()); },
                                                  today ? today : [] { return platform::Now().date; });
    auto* other = new ui::OtherFunctionsScreen(true, common::CheckExclusiveCollection);
    auto* maintenance = new MaintenanceScreen;
    for (QWidget* screen : std::initializer_list<QWidget*>{menu, settings, environment, other, maintenance}) {
        ui::AddScreen(area, screen);
    }
    maintenance->parentWidget()->hide();
    for (QWidget* screen : std::initializer_list<QWidget*>{menu, environment, other, settings}) {
        screen->parentWidget()->show();
    }

    common::ImportSettingsGroup(4, env);
    common::ImportSettingsGroup(6, env);
    settings->ShowCollectionSettings();
    environment->ShowMultiTaskSettings();
    other->Restore(ExportMarketChoices);
    ConnectCollectorFunctions(*other);
    ConnectMenu(*menu, *settings, *environment, *other, *maintenance);
    WatchEnvironmentLeave(area, *environment);

    auto* layout = new ScreenLayout(area, *menu, {settings, other, environment, maintenance});
    layout->LayOut();
    ui::BringToFront(*settings);
    menu->findChild<QPushButton*>("Command3")->setFocus();
    settings->findChild<QPushButton*>("BasicCommand6")->setFocus();
}

}  // namespace

MenuScreen::MenuScreen(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGetMenu");
    setWindowTitle(QStringLiteral("メニュー"));
    auto* frame = new QGroupBox(this);
    frame->setObjectName("Frame1");
    auto* buttons = new QVBoxLayout(frame);
    buttons->addWidget(MenuButton("Command3", "ＷｅｂＤａｔａの収集", frame));
    buttons->addWidget(MenuButton("Command7", "環境設定", frame));
    buttons->addWidget(MenuButton("Command4", "その他の機能", frame));
    for (const auto& [name, caption] : {std::pair{"Command2", "基本情報の収集"}, std::pair{"Command8", "サイズ確認"},
                                        std::pair{"Command11", "Ｃｈａｒｔサイズ確認"}}) {
        QPushButton* hidden = MenuButton(name, caption, frame);
        hidden->setVisible(false);
        hidden->setEnabled(false);
        buttons->addWidget(hidden);
    }
    buttons->addStretch();
    buttons->addWidget(MenuButton("Command6", "終　　了", frame));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    setFixedWidth(200);
}

void HpGtMenu(ui::MainWindow& window, std::function<platform::Date()> today) {
    try {
        BuildScreens(window, std::move(today));
    } catch (const platform::TrappedError& error) {
        common::LogVbError("ＶＢエラーを検出しました。　", 16, "HpGtMenu", error);
        common::ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, error);
        common::EndProgram();
    }
}

}  // namespace collector_ui
