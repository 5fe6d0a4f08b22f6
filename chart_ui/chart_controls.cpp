#include "chart_ui/chart_controls.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include "chart_ui/chart_picture.h"

namespace chart_ui {

namespace {

// Room the scale needs for its labels: thirteen half-width places and a margin.
constexpr int kScaleWidth = 96;
// The right and bottom margin the screens keep (240 twips).
constexpr int kEdgeMargin = 16;

template <typename Control>
Control* Named(Control* control, const QString& name) {
    control->setObjectName(name);
    return control;
}

QString Indexed(const char* name, std::size_t index) { return QString::fromLatin1(name) + QString::number(index + 1); }

// Keeps the surface the size of its frame, so that the surface's left edge
// is the frame's whatever the frame's size.
class FrameFiller : public QObject {
public:
    FrameFiller(QWidget* frame, QWidget* content) : QObject(frame), content_(content) {
        frame->installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            content_->setGeometry(static_cast<QWidget*>(watched)->contentsRect());
        }
        return false;
    }

private:
    QWidget* content_;
};

}  // namespace

ChartControls BuildChartControls(QWidget& window) {
    ChartControls c;
    c.Command1 = Named(new QPushButton(QStringLiteral("ﾛｰｿｸ足"), &window), QStringLiteral("Command1"));
    c.Command4 = Named(new QPushButton(QStringLiteral("鉤足"), &window), QStringLiteral("Command4"));
    c.Command6 = Named(new QPushButton(QStringLiteral("クリア"), &window), QStringLiteral("Command6"));

    const QString boxCaptions[] = {QStringLiteral("拡大表示"),     QStringLiteral("対数表示"),
                                   QStringLiteral("転換点で色分"), QStringLiteral("中間目盛表示"),
                                   QStringLiteral("最安値・高値目盛表示"), QStringLiteral("分割調整")};
    for (std::size_t i = 0; i < c.CkBoxChart.size(); ++i) {
        c.CkBoxChart[i] = Named(new QCheckBox(boxCaptions[i], &window), Indexed("CkBoxChart", i));
    }

    const QString rangeCaptions[] = {QStringLiteral("日足"), QStringLiteral("週足"), QStringLiteral("月足")};
    c.rangeGroup = new QButtonGroup(&window);
    for (std::size_t i = 0; i < c.OptRange.size(); ++i) {
        c.OptRange[i] = Named(new QRadioButton(rangeCaptions[i], &window), Indexed("OptRange", i));
        c.rangeGroup->addButton(c.OptRange[i], static_cast<int>(i + 1));
    }

    c.Label2 = Named(new QLabel(QStringLiteral("足の表示サイズ"), &window), QStringLiteral("Label2"));
    c.ComboChartSize = Named(new QComboBox(&window), QStringLiteral("ComboChartSize"));
    c.ComboChartSize->setToolTip(QStringLiteral("棒足をグラフ表示する時の太さ"));
    c.Label3 = Named(new QLabel(QStringLiteral("表示する期間"), &window), QStringLiteral("Label3"));
    c.ComboChartPeriod = Named(new QComboBox(&window), QStringLiteral("ComboChartPeriod"));

    c.Label1 = Named(new QLabel(&window), QStringLiteral("Label1"));
    c.Label1->setTextInteractionFlags(Qt::TextSelectableByMouse);

    c.Picture2 = new ChartPicture(QStringLiteral("Picture2"), &window);
    c.Picture2->setFixedWidth(kScaleWidth);
    c.Pict1 = Named(new QFrame(&window), QStringLiteral("Pict1"));
    c.Pict1->setFrameShape(QFrame::NoFrame);
    c.Pict1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    c.Pict2 = new ChartPicture(QStringLiteral("Pict2"), c.Pict1);
    new FrameFiller(c.Pict1, c.Pict2);
    c.HScroll1 = Named(new QScrollBar(Qt::Horizontal, &window), QStringLiteral("HScroll1"));
    c.HScroll1->setMaximum(0);
    // The frame keeps its height whether or not the bar shows, so that a
    // chart drawn for the frame still fits it.
    QSizePolicy keepRoom = c.HScroll1->sizePolicy();
    keepRoom.setRetainSizeWhenHidden(true);
    c.HScroll1->setSizePolicy(keepRoom);
    c.HScroll1->hide();

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {c.Command1, c.Command4, c.Command6}) buttons->addWidget(button);
    buttons->addSpacing(24);
    for (QRadioButton* option : c.OptRange) buttons->addWidget(option);
    buttons->addSpacing(24);
    buttons->addWidget(c.Label2);
    buttons->addWidget(c.ComboChartSize);
    buttons->addSpacing(12);
    buttons->addWidget(c.Label3);
    buttons->addWidget(c.ComboChartPeriod);
    buttons->addStretch(1);

    auto* boxes = new QHBoxLayout;
    for (QCheckBox* box : c.CkBoxChart) boxes->addWidget(box);
    boxes->addStretch(1);

    auto* chart = new QGridLayout;
    chart->setSpacing(0);
    chart->addWidget(c.Picture2, 0, 0);
    chart->addWidget(c.Pict1, 0, 1);
    chart->addWidget(c.HScroll1, 1, 1);
    chart->setColumnStretch(1, 1);
    chart->setRowStretch(0, 1);

    auto* all = new QVBoxLayout(&window);
    all->setContentsMargins(8, 8, kEdgeMargin, kEdgeMargin);
    all->addLayout(buttons);
    all->addLayout(boxes);
    all->addWidget(c.Label1);
    all->addLayout(chart, 1);
    return c;
}

}  // namespace chart_ui
