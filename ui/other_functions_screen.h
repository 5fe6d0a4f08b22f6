#pragma once
#include <QWidget>
#include <functional>

class QPushButton;

namespace ui {

// The "その他の機能" screen `frmGetHelp` that both programs carry: the
// markets of the analysis information, the environment reset, the resume of
// an interrupted run, and the collection program's functions (enabled only
// there). The program connects its own work to `Command1`, `HelpCommand1`
// and `HelpCommand5`.
class OtherFunctionsScreen : public QWidget {
    Q_OBJECT
public:
    // `checkExclusive`: the program's start check, which refuses or resumes
    // and is true when there is nothing to refuse or resume.
    OtherFunctionsScreen(bool collectionProgram, std::function<bool()> checkExclusive, QWidget* parent = nullptr);

    // `RestoreOtherFunctionsScreen`, then the market boxes store their changes
    // and `afterMarketChange` runs after each store.
    void Restore(std::function<void()> afterMarketChange);

    QPushButton* button(const char* objectName) const;

private:
    void ResetEnvironment();
    void ResumeInterrupted();

    std::function<bool()> checkExclusive_;
};

}  // namespace ui
