#include "ui/other_functions_screen.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/logs/message_box.h"
#include "common/screens/run_control.h"
#include "common/screens/screen_control_tables.h"
#include "common/tasks/environment_reset.h"
#include "ui/busy_guard.h"
#include "ui/form_controls.h"
#include "ui/handler_report.h"

namespace ui {

namespace {

struct Row {
    const char* button;
    const char* caption;
    const char* label;
    const char* explanation;
};

// One button with its explanation beside it.
void AddRow(QGridLayout& grid, int row, const Row& parts, QWidget* frame) {
    auto* button = new QPushButton(QString::fromUtf8(parts.caption), frame);
    button->setObjectName(parts.button);
    button->setMinimumWidth(220);
    auto* label = new QLabel(QString::fromUtf8(parts.explanation), frame);
    label->setObjectName(parts.label);
    label->setWordWrap(true);
    grid.addWidget(button, row, 0, Qt::AlignTop);
    grid.addWidget(label, row, 1);
    grid.setColumnStretch(1, 1);
}

QGroupBox* Frame(const char* name, QWidget* parent) {
    auto* frame = new QGroupBox(parent);
    frame->setObjectName(name);
    return frame;
}

}  // namespace

OtherFunctionsScreen::OtherFunctionsScreen(bool collectionProgram, std::function<bool()> checkExclusive,
                                           QWidget* parent)
    : QWidget(parent), checkExclusive_(std::move(checkExclusive)) {
    setObjectName("frmGetHelp");
    setWindowTitle(QStringLiteral("その他の機能"));

    QGroupBox* frame2 = Frame("Frame2", this);
    auto* analysis = new QGridLayout(frame2);
    AddRow(*analysis, 0,
           {"Command1", "分析情報の作成", "Label11",
            "「Korvane」が銘柄分析に使う分析情報を、下で選んだ市場について作成します。"},
           frame2);
    auto* markets = new QHBoxLayout;
    const char* marketNames[] = {"国内", "米国", "中国", "ﾃｽﾄ用"};
    for (int i = 0; i < 4; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(marketNames[i]), frame2);
        box->setObjectName(QStringLiteral("CKBox0105_%1").arg(i + 1));
        markets->addWidget(box);
    }
    markets->addStretch();
    analysis->addLayout(markets, 1, 0, 1, 2);

    QGroupBox* frame3 = Frame("Frame3", this);
    auto* run = new QGridLayout(frame3);
    AddRow(*run, 0,
           {"HelpCommand2", "実行環境のリセット", "Label2",
            "ソフトの不具合等により、処理が途中で終了してしまった場合、このボタンを押下する事で、"
            "中断した処理の実行前の状態に戻す機能です。"},
           frame3);
    AddRow(*run, 1,
           {"HelpCommand3", "中断中の処理を再開", "Label3",
            "「中断」ボタンで中断した処理を、中断した場所から再開します。"},
           frame3);

    QGroupBox* frame1 = Frame("Frame1", this);
    auto* collection = new QGridLayout(frame1);
    AddRow(*collection, 0,
           {"HelpCommand1", "コードマスターの初期化", "Label1",
            "収集した企業一覧の業種情報を統合し、そこからコードマスター（銘柄の一覧）を作り直します。"},
           frame1);
    AddRow(*collection, 1,
           {"HelpCommand4", "銘柄登録情報の取込", "Label4",
            "銘柄登録ファイル「\\HpData\\User\\銘柄登録.txt」の銘柄を取り込みます。"},
           frame1);
    AddRow(*collection, 2,
           {"HelpCommand5", "業種別株価時系列データの作成", "Label5",
            "国内銘柄の株価時系列データから、業種ごとの株価時系列データを作成します。"},
           frame1);
    auto* label6 = new QLabel(QStringLiteral("株価時系列データの収集が終わってから実行して下さい。"), frame1);
    label6->setObjectName("Label6");
    collection->addWidget(label6, 3, 1);
    if (!collectionProgram) {
        frame1->setTitle(QStringLiteral("　この機能は　「Mirelda」　処理用です　"));
        frame1->setEnabled(false);
        for (const char* name : {"HelpCommand5", "Label5", "Label6"}) findChild<QWidget*>(name)->setVisible(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame2);
    layout->addWidget(frame3);
    layout->addWidget(frame1);
    layout->addStretch();

    connect(button("HelpCommand2"), &QPushButton::clicked, this, [this] { ResetEnvironment(); });
    connect(button("HelpCommand3"), &QPushButton::clicked, this, [this] { ResumeInterrupted(); });
}

void OtherFunctionsScreen::Restore(std::function<void()> afterMarketChange) {
    RestoreControls(*this, common::OtherFunctionsControls());
    ConnectStores(*this, common::OtherFunctionsControls());
    if (!afterMarketChange) return;
    for (int i = 1; i <= 4; ++i) {
        // Connected after the stores, so it runs once the value is in the store.
        connect(findChild<QCheckBox*>(QStringLiteral("CKBox0105_%1").arg(i)), &QCheckBox::toggled, this,
                [afterMarketChange] { RunHandler("frmGetHelp_CKBox0105_Click", afterMarketChange); });
    }
}

QPushButton* OtherFunctionsScreen::button(const char* objectName) const {
    return findChild<QPushButton*>(objectName);
}

void OtherFunctionsScreen::ResetEnvironment() {
    const BusyGuard busy;
    if (!busy.entered()) return;
    RunHandler("frmGetHelp_HelpCommand2_Click", [] {
        if (common::AskOkCancel("実行環境をリセットします。宜しいですか？", 33) != 1) return;
        // The other program's children would lose their files under them.
        if (common::WarnWhileOtherProgramRuns()) return;
        common::CRSET00M();
        common::ShowNotice("実行環境をリセットしました。", 64);
    });
    button("HelpCommand2")->setFocus();
}

void OtherFunctionsScreen::ResumeInterrupted() {
    const BusyGuard busy;
    if (!busy.entered()) return;
    RunHandler("frmGetHelp_HelpCommand3_Click", [this] {
        if (checkExclusive_()) common::ShowWarning("中断中の処理はありません。", 48);
    });
    button("HelpCommand3")->setFocus();
}

}  // namespace ui
