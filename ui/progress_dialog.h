#pragma once
#include <QDialog>
#include <QPointer>
#include <map>

#include "common/screens/ui_seam.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace ui {

// A progress dialog: bar `ProgressBar1`, label `Label1`, buttons `BtnCan`
// (cancel) and `BtnEmg` (emergency stop). The window manager's close and the
// Escape key are refused: the dialog goes only when the program unloads it.
class ProgressDialog : public QDialog, public common::ProgressView {
    Q_OBJECT
public:
    explicit ProgressDialog(const QString& formName, QWidget* owner = nullptr);

    void SetBar(long max, long value) override;
    void SetButtonsVisible(bool visible) override;
    void SetCaption(const std::string& caption) override;
    void SetLabel(const std::string& text) override;

    QPushButton* cancelButton() const { return btnCan_; }
    QPushButton* emergencyButton() const { return btnEmg_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    QProgressBar* bar_;
    QLabel* label_;
    QPushButton* btnCan_;
    QPushButton* btnEmg_;
};

// The program's progress dialogs by form name, created on first show.
class QtProgressForms : public common::ProgressForms {
public:
    common::ProgressView& Show(const std::string& formName) override;
    void Unload(const std::string& formName) override;

private:
    std::map<std::string, QPointer<ProgressDialog>> loaded_;
};

}  // namespace ui
