#pragma once
#include <QString>
#include <array>
#include <string>

#include "lists/list_sort.h"

class QButtonGroup;
class QGroupBox;
class QRadioButton;
class QWidget;

namespace list_ui {

// The sort-mode frame of a list: option buttons 1 " 昇順", 2 " 降順" and
// 3 " タイトル押下で切替", element i - 1 being option i.
struct SortOptions {
    QGroupBox* frame = nullptr;
    std::array<QRadioButton*, 3> buttons{};
    QButtonGroup* group = nullptr;  // each button's id its index

    // The chosen mode; with no option chosen each click reverses the column.
    lists::SortMode Mode() const;
};

// Creates the frame `frameName` captioned `caption` with the buttons
// `buttonName` + 1 .. 3, puts the choice back from `settingPath` (option 1
// when it names none) and only
// then starts writing each click there as its index.
SortOptions BuildSortOptions(QWidget& parent, const QString& frameName, const QString& caption,
                             const QString& buttonName, const std::string& settingPath, const char* procedureId);

}  // namespace list_ui
