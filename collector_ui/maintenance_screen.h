#pragma once
#include <QWidget>

namespace collector_ui {

// The maintenance-button form `frmGetBotn`: single maintenance steps of
// other parts of the program, each under the busy flag.
class MaintenanceScreen : public QWidget {
    Q_OBJECT
public:
    explicit MaintenanceScreen(QWidget* parent = nullptr);
};

}  // namespace collector_ui
