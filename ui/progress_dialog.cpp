#include "ui/progress_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "common/logs/progress_buttons.h"
#include "ui/main_window.h"
#include "ui/program_close.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

int ClampToInt(long value) { return static_cast<int>(std::clamp<long>(value, 0, INT_MAX)); }

}  // namespace

ProgressDialog::ProgressDialog(const QString& formName, QWidget* owner)
    : QDialog(owner),
      bar_(new QProgressBar(this)),
      label_(new QLabel(this)),
      btnCan_(new QPushButton(QStringLiteral("中　断"), this)),
      btnEmg_(new QPushButton(QStringLiteral("強制終了"), this)) {
    setObjectName(formName);
    setModal(false);
    setWindowFlag(Qt::WindowCloseButtonHint, false);
    bar_->setObjectName("ProgressBar1");
    label_->setObjectName("Label1");
    btnCan_->setObjectName("BtnCan");
    btnEmg_->setObjectName("BtnEmg");
    label_->setMinimumWidth(360);
    label_->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnCan_);
    buttons->addWidget(btnEmg_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);

    // Only the dialog of a run started from the screens acts on its buttons;
    // a child's own dialog and the analysis-information dialog show them idle.
    if (formName == "FormProgress1") {
        connect(btnCan_, &QPushButton::clicked, this, [] { common::ConfirmCancel(); });
        connect(btnEmg_, &QPushButton::clicked, this, [] { common::ConfirmEmergencyStop(); });
    }
}

void ProgressDialog::SetBar(long max, long value) {
    const int top = std::max(1, ClampToInt(max));
    bar_->setMaximum(top);
    bar_->setValue(std::min(top, ClampToInt(value)));
}

void ProgressDialog::SetButtonsVisible(bool visible) {
    btnCan_->setVisible(visible);
    btnEmg_->setVisible(visible);
}

void ProgressDialog::SetCaption(const std::string& caption) { setWindowTitle(ToQt(caption)); }

void ProgressDialog::SetLabel(const std::string& text) { label_->setText(ToQt(text).replace("\r\n", "\n")); }

void ProgressDialog::closeEvent(QCloseEvent* event) { AcceptOnlyProgramClose(this, event); }

void ProgressDialog::reject() {}

common::ProgressView& QtProgressForms::Show(const std::string& formName) {
    QPointer<ProgressDialog>& dialog = loaded_[formName];
    if (dialog.isNull()) {
        dialog = new ProgressDialog(ToQt(formName), FindMainWindow());
    }
    dialog->show();
    return *dialog;
}

void QtProgressForms::Unload(const std::string& formName) {
    const auto found = loaded_.find(formName);
    if (found == loaded_.end()) {
        return;
    }
    if (!found->second.isNull()) {
        found->second->hide();
        found->second->deleteLater();
    }
    loaded_.erase(found);
}

}  // namespace ui
