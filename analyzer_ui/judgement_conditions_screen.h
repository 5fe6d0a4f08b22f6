#pragma once
#include <QWidget>
#include <vector>

class QEvent;
class QLineEdit;

namespace analysis {
struct ConditionBox;
}

namespace analyzer_ui {

// The judgement-conditions screen `frmKsnParm`: the conditions of the Kagi
// judgement, what the result lists show, the countries to judge and the
// start of the judgement. Every choice is stored at once; a typed condition
// only when its check passes, so the store always holds what the judgement
// can use.
class JudgementConditionsScreen : public QWidget {
    Q_OBJECT
public:
    explicit JudgementConditionsScreen(QWidget* parent = nullptr);

    // `RestoreJudgementScreen`: every control from the settings, writing
    // nothing back; the first call then connects the stores.
    void Restore();

    // The checks when the user leaves the screen, in the order of
    // analysis::ConditionBoxes(); a passing text is stored. False, after the
    // warning and with the focus back in the box, at the first refusal.
    bool CheckOnLeave();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ConnectStores();
    // Stores the box's text when it passes, else warns and keeps the focus there.
    bool CheckAndStore(const analysis::ConditionBox& condition, QLineEdit& box);

    std::vector<bool> Ticked(const char* name, int count) const;
    // Sets the boxes `name`_1.. without their own handlers running.
    void SetTicked(const char* name, const std::vector<bool>& ticked);
    void StoreMask(const char* key, const char* name, int count);

    void TickAllBasic(bool ticked);
    void TickAllRules(bool ticked);
    void TickFamily(int family, bool ticked);

    void StartJudgement();
    void RestoreDefaults();

    bool storesConnected_ = false;
    bool checking_ = false;
};

}  // namespace analyzer_ui
