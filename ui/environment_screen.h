#pragma once
#include <QWidget>

class QLineEdit;

namespace ui {

// The environment screen `frmGetEnv`: the program's parallelism (1 to 10)
// and the list limit of the analysis program (100 or more). Each is checked
// when the user leaves its box and stored at once; an invalid entry is
// replaced by the lower bound after the warning. The collection program
// shows the list limit disabled.
class EnvironmentScreen : public QWidget {
    Q_OBJECT
public:
    explicit EnvironmentScreen(bool isKorvane, QWidget* parent = nullptr);

    // `ShowMultiTaskSettings`: the two boxes from the settings.
    void ShowMultiTaskSettings();

    // The checks when the user moves to another screen: false, with the
    // focus in the refused box, when one refused.
    bool CheckOnLeave();

private:
    bool CheckMultiCount();
    bool CheckListMax();

    bool isKorvane_;
    bool checking_ = false;
    QLineEdit* multiCount_;
    QLineEdit* listMax_;
};

}  // namespace ui
