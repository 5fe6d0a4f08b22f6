#include "ui/main_window.h"

#include <QApplication>
#include <QMdiArea>

#include "common/run_state.h"
#include "ui/program_close.h"
#include "ui/program_version.h"
#include "ui/qt_text.h"

namespace ui {

namespace {
const QString kMainWindowName = QStringLiteral("frmMain");
}

MainWindow::MainWindow(const QString& title) : mdi_(new QMdiArea(this)) {
    setObjectName(kMainWindowName);
    setWindowTitle(title);
    setCentralWidget(mdi_);
    resize(1280, 860);
    // Screens taller or wider than a small window are reached by scrolling.
    mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

void MainWindow::closeEvent(QCloseEvent* event) { AcceptOnlyProgramClose(this, event); }

void ShowVersionTitle(MainWindow& window) {
    window.setWindowTitle(ToQt(common::State().programTitle) + QStringLiteral("  Ver.") + kProgramVersion);
}

QWidget* FindMainWindow() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->objectName() == kMainWindowName) {
            return widget;
        }
    }
    return nullptr;
}

}  // namespace ui
