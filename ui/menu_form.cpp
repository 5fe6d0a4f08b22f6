#include "ui/menu_form.h"

#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

namespace ui {

namespace {

QPushButton* MenuButton(const MenuEntry& entry, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(entry.caption), parent);
    button->setObjectName(entry.name);
    button->setMinimumHeight(40);
    button->setVisible(entry.shown);
    button->setEnabled(entry.shown);
    return button;
}

}  // namespace

void BuildMenuForm(QWidget& form, std::initializer_list<MenuEntry> entries, MenuEntry end) {
    form.setWindowTitle(QStringLiteral("メニュー"));
    auto* frame = new QGroupBox(&form);
    frame->setObjectName("Frame1");
    auto* buttons = new QVBoxLayout(frame);
    for (const MenuEntry& entry : entries) buttons->addWidget(MenuButton(entry, frame));
    buttons->addStretch();
    buttons->addWidget(MenuButton(end, frame));
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(frame);
    form.setFixedWidth(200);
}

}  // namespace ui
