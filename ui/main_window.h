#pragma once
#include <QMainWindow>

class QMdiArea;

namespace ui {

// The program's main window `frmMain`: a multi-document area whose screens are
// created once and stay. Only the program closes it (CloseByProgram).
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(const QString& title);

    QMdiArea* mdiArea() const { return mdi_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMdiArea* mdi_;
};

// The program's name and version as the window's title.
void ShowVersionTitle(MainWindow& window);

// The main window of this program, or null before it exists.
QWidget* FindMainWindow();

}  // namespace ui
