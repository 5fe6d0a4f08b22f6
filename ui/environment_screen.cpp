#include "ui/environment_screen.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <limits>

#include "common/logs/message_box.h"
#include "common/screens/screen_control_tables.h"
#include "common/settings/settings.h"
#include "platform/integer_round.h"
#include "platform/numeric_text.h"
#include "ui/qt_text.h"

namespace ui {

namespace {

QLabel* NamedLabel(const char* name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

// The typed count when it is a number within the bounds.
bool CountWithin(const QString& text, long low, long high, long& count) {
    const std::string typed = FromQt(text);
    if (!platform::IsNumericText(typed)) return false;
    const double value = *platform::ParseDouble(typed);
    if (value < static_cast<double>(std::numeric_limits<std::int32_t>::min()) ||
        value > static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return false;
    }
    count = platform::ToLong(value);
    return count >= low && count <= high;
}

// Stores the box's count, or after the warning its lower bound; false then.
bool CheckCount(QLineEdit& box, const std::string& path, long low, long high, const char* warning) {
    long count = 0;
    if (CountWithin(box.text(), low, high, count)) {
        common::WriteSetting(path, std::to_string(count));
        return true;
    }
    common::ShowWarning(warning, 48);
    box.setText(QString::number(low));
    common::WriteSetting(path, std::to_string(low));
    box.setFocus();
    return false;
}

}  // namespace

EnvironmentScreen::EnvironmentScreen(bool isKorvane, QWidget* parent)
    : QWidget(parent), isKorvane_(isKorvane), multiCount_(new QLineEdit(this)), listMax_(new QLineEdit(this)) {
    setObjectName("frmGetEnv");
    setWindowTitle(QStringLiteral("環境設定"));
    multiCount_->setObjectName("MultiCount");
    listMax_->setObjectName("TextListViewMax");
    multiCount_->setMaximumWidth(80);
    listMax_->setMaximumWidth(80);
    const QString program = isKorvane ? QStringLiteral("Korvane") : QStringLiteral("Mirelda");
    const QString other = isKorvane ? QStringLiteral("Mirelda") : QStringLiteral("Korvane");

    auto* frame1 = new QGroupBox(this);
    frame1->setObjectName("Frame1");
    auto* tasks = new QGridLayout(frame1);
    tasks->addWidget(NamedLabel("Label3", QStringLiteral("タスク最大数の変更（取扱い注意！）"), frame1), 0, 0, 1, 3);
    tasks->addWidget(NamedLabel("Label4",
                                QStringLiteral("「") + program +
                                    QStringLiteral("」が同時に実行する処理（タスク）の最大数を設定します。"
                                                   "大きくするほど処理は速くなりますが、パソコンの負荷も大きくなります。"),
                                frame1),
                     1, 0, 1, 3);
    tasks->addWidget(NamedLabel("Label6", QStringLiteral("「タスク最大数」"), frame1), 2, 0);
    tasks->addWidget(multiCount_, 2, 1);
    tasks->addWidget(NamedLabel("Label1", QStringLiteral("１から１０のの範囲で設定して下さい。"), frame1), 2, 2);
    tasks->addWidget(NamedLabel("Label16", QStringLiteral("はじめは小さな値で実行し、様子を見ながら大きくして下さい。"), frame1),
                     3, 0, 1, 3);
    tasks->addWidget(NamedLabel("Label17",
                                QStringLiteral("「Korvane」の判定はこのパソコンの中だけで動くため、収集より負荷が大きくなります。"
                                               "「Korvane」には「Mirelda」の半分程度の値を設定して下さい。"),
                                frame1),
                     4, 0, 1, 3);
    const char* guide[][3] = {{"Label11", "パソコン", "タスク最大数"},
                              {"Label12", "実装メモリ 1024 MB以上", "10"},
                              {"Label13", "実装メモリ  512 MB    ", "7"},
                              {"Label14", "実装メモリ  256 MB    ", "5"}};
    int row = 5;
    for (const auto& line : guide) {
        tasks->addWidget(NamedLabel(line[0], QString::fromUtf8(line[1]), frame1), row, 0);
        tasks->addWidget(new QLabel(QString::fromUtf8(line[2]), frame1), row, 1);
        ++row;
    }
    tasks->setColumnStretch(2, 1);
    tasks->addWidget(NamedLabel("Label15", QStringLiteral("（目安です）"), frame1), row, 0);

    auto* frame2 = new QGroupBox(this);
    frame2->setObjectName("Frame2");
    auto* list = new QGridLayout(frame2);
    QWidget* listParts[] = {
        NamedLabel("Label2", QStringLiteral("銘柄分析の表示可能件数の変更"), frame2),
        NamedLabel("Label5", QStringLiteral("「銘柄分析の表示可能件数」"), frame2),
        NamedLabel("Label7", QStringLiteral("１００以上の値を入力してください。"), frame2),
        NamedLabel("Label8", QStringLiteral("抽出した銘柄のうち一覧に表示する件数の上限です（初期値 1000）。"), frame2),
        NamedLabel("Label9", QStringLiteral("抽出件数   1000件：メモリ使用量 約 20 MB"), frame2),
        NamedLabel("Label10", QStringLiteral("抽出件数   5000件：メモリ使用量 約 100 MB"), frame2),
    };
    list->addWidget(listParts[0], 0, 0, 1, 3);
    list->addWidget(listParts[1], 1, 0);
    list->addWidget(listMax_, 1, 1);
    list->addWidget(listParts[2], 1, 2);
    list->addWidget(listParts[3], 2, 0, 1, 3);
    list->addWidget(listParts[4], 3, 0, 1, 3);
    list->addWidget(listParts[5], 4, 0, 1, 3);
    list->setColumnStretch(2, 1);
    if (!isKorvane) {
        frame2->setTitle(QStringLiteral("　この機能は　「") + other + QStringLiteral("」　処理用です　"));
        for (QWidget* part : listParts) part->setEnabled(false);
        listMax_->setEnabled(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame1);
    layout->addWidget(frame2);
    layout->addStretch();

    connect(multiCount_, &QLineEdit::editingFinished, this, [this] { CheckMultiCount(); });
    connect(listMax_, &QLineEdit::editingFinished, this, [this] { CheckListMax(); });
}

void EnvironmentScreen::ShowMultiTaskSettings() {
    const auto table = common::EnvironmentControls(isKorvane_);
    multiCount_->setText(ToQt(common::CountFromSetting(table[0], 1)));
    listMax_->setText(ToQt(common::CountFromSetting(table[1], 100)));
}

bool EnvironmentScreen::CheckMultiCount() {
    // The warning box takes the focus and so finishes the editing again.
    if (checking_) return true;
    checking_ = true;
    const bool passed = CheckCount(*multiCount_, common::SettingPathOf(common::EnvironmentControls(isKorvane_)[0]), 1,
                                   10, "１から１０の範囲で入力してください。　");
    checking_ = false;
    return passed;
}

bool EnvironmentScreen::CheckListMax() {
    if (checking_ || !listMax_->isEnabled()) return true;
    checking_ = true;
    const bool passed = CheckCount(*listMax_, common::SettingPathOf(common::EnvironmentControls(isKorvane_)[1]), 100,
                                   std::numeric_limits<std::int32_t>::max(), "１００以上の数値を入力してください。　");
    checking_ = false;
    return passed;
}

bool EnvironmentScreen::CheckOnLeave() { return CheckMultiCount() && CheckListMax(); }

}  // namespace ui
