#include "list_ui/sort_options.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "common/settings/settings.h"
#include "ui/handler_report.h"

namespace list_ui {

lists::SortMode SortOptions::Mode() const {
    const int id = group->checkedId();
    if (id == 1) return lists::SortMode::Ascending;
    if (id == 2) return lists::SortMode::Descending;
    return lists::SortMode::Toggle;
}

SortOptions BuildSortOptions(QWidget& parent, const QString& frameName, const QString& caption,
                             const QString& buttonName, const std::string& settingPath, const char* procedureId) {
    SortOptions options;
    options.frame = new QGroupBox(caption, &parent);
    options.frame->setObjectName(frameName);
    options.group = new QButtonGroup(options.frame);
    auto* column = new QVBoxLayout(options.frame);
    const QString captions[] = {QStringLiteral(" 昇順"), QStringLiteral(" 降順"),
                                QStringLiteral(" タイトル押下で切替")};
    for (std::size_t i = 0; i < options.buttons.size(); ++i) {
        auto* button = new QRadioButton(captions[i], options.frame);
        button->setObjectName(buttonName + QString::number(i + 1));
        options.group->addButton(button, static_cast<int>(i + 1));
        column->addWidget(button);
        options.buttons[i] = button;
    }
    ui::RunHandler(procedureId, [&] {
        // Option 1 for nothing saved, or for a number no option has.
        const long saved = common::ReadSettingLong(settingPath);
        const bool known = saved >= 1 && saved <= static_cast<long>(options.buttons.size());
        options.buttons[known ? static_cast<std::size_t>(saved - 1) : 0]->setChecked(true);
    });
    QObject::connect(options.group, &QButtonGroup::idClicked, options.frame, [settingPath, procedureId](int index) {
        ui::RunHandler(procedureId, [&] { common::WriteSetting(settingPath, std::to_string(index)); });
    });
    return options;
}

}  // namespace list_ui
