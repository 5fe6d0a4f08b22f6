#include "collector_ui/collector_menu.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QPushButton>

#include "collector_ui/collection_settings_screen.h"
#include "collector_ui/collector_functions.h"
#include "collector_ui/maintenance_screen.h"
#include "common/screens/run_control.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings_group.h"
#include "common/startup/interactive_start.h"
#include "common/startup/run_env.h"
#include "ui/busy_guard.h"
#include "ui/environment_screen.h"
#include "ui/handler_report.h"
#include "ui/main_window.h"
#include "ui/mdi_screen.h"
#include "ui/menu_form.h"
#include "ui/other_functions_screen.h"
#include "ui/qt_text.h"
#include "ui/screen_layout.h"

namespace collector_ui {

namespace {

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
    QObject::connect(menu.findChild<QPushButton*>("Command6"), &QPushButton::clicked, &menu,
                     [] { ui::RunEndingHandler("frmGetMenu_Command6_Click", ExitProgram); });
}

void BuildScreens(ui::MainWindow& window, std::function<platform::Date()> today) {
    common::EnvRec env;
    common::PrepareInteractiveStart("HpGtMenu", env);
    ui::ShowVersionTitle(window);
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
    ui::CheckWhenLeft(area, *environment, [environment] { return environment->CheckOnLeave(); });
    ui::KeepScreensPlaced(area, *menu, {settings, other, environment, maintenance});
    ui::BringToFront(*settings);
    menu->findChild<QPushButton*>("Command3")->setFocus();
    settings->findChild<QPushButton*>("BasicCommand6")->setFocus();
}

}  // namespace

MenuScreen::MenuScreen(QWidget* parent) : QWidget(parent) {
    setObjectName("frmGetMenu");
    ui::BuildMenuForm(*this,
                      {{"Command3", "ＷｅｂＤａｔａの収集"},
                       {"Command7", "環境設定"},
                       {"Command4", "その他の機能"},
                       {"Command2", "基本情報の収集", false},
                       {"Command8", "サイズ確認", false},
                       {"Command11", "Ｃｈａｒｔサイズ確認", false}},
                      {"Command6", "終　　了"});
}

void HpGtMenu(ui::MainWindow& window, std::function<platform::Date()> today) {
    ui::RunEndingHandler("HpGtMenu", [&] { BuildScreens(window, std::move(today)); });
}

}  // namespace collector_ui
