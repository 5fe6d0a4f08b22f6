#pragma once
#include <QWidget>
#include <functional>
#include <string>

#include "common/screens/collection_screen_state.h"
#include "common/screens/screen_run_request.h"
#include "common/settings/system_state_file.h"
#include "platform/date.h"

class QLineEdit;
class QPushButton;

namespace collector_ui {

// The collection settings screen `frmGetBsc`: what to collect, stored as it
// is chosen, and the run buttons that turn the choices into a run request for
// the batch chain.
class CollectionSettingsScreen : public QWidget {
    Q_OBJECT
public:
    // `multiCountText` gives the environment screen's parallelism as typed;
    // `today` the date of the periods that end today.
    CollectionSettingsScreen(std::function<std::string()> multiCountText, std::function<platform::Date()> today,
                             QWidget* parent = nullptr);

    // `ShowCollectionSettings`: the controls from the settings, then their stores.
    void ShowCollectionSettings();

    // `SaveScreenState`: the screen's snapshot in the system state file.
    common::SystemStateRec SaveScreenState();

    // The choices as plain values.
    common::CollectionScreenState ScreenState() const;

    // The handler of a run button.
    void Run(common::RunButton button, QPushButton* pressed);

private:
    // `ValidateAndStorePriceSettings` on the snapshot just taken.
    bool ValidateAndStorePriceSettings(common::SystemStateRec& rec);
    void EnableByOptions();
    void MarkDates(bool fromWrong, bool toWrong);

    std::function<std::string()> multiCountText_;
    std::function<platform::Date()> today_;
    QLineEdit* dateFrom_;
    QLineEdit* dateTo_;
};

}  // namespace collector_ui
