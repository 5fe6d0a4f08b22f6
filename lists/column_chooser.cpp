#include "lists/column_chooser.h"

#include "common/logs/message_box.h"
#include "common/logs/message_style.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace lists {

ColumnChooser::ColumnChooser(const std::vector<ListColumnRec>& columns) : edit_(columns) {
    for (std::size_t j = 1; j <= edit_.size(); ++j) {
        if (edit_[j - 1].Reserved == 0) rowMap_.push_back(j);
    }
}

std::string ColumnChooser::RowText(std::size_t row) const {
    return platform::FormatNumber(static_cast<double>(row), "000");
}

std::string ColumnChooser::RowCaption(std::size_t row) const {
    return platform::TrimBlanks(Column(row).Caption) + std::string(42, ' ');
}

bool ColumnChooser::Checked(std::size_t row) const { return Column(row).Hidden == 0; }

void ColumnChooser::SetChecked(std::size_t row, bool checked) { Column(row).Hidden = checked ? 0 : 1; }

void ColumnChooser::Toggle(std::size_t row) { SetChecked(row, !Checked(row)); }

void ColumnChooser::ShowAll() {
    for (std::size_t row = 1; row <= RowCount(); ++row) SetChecked(row, true);
}

void ColumnChooser::HideAll() {
    for (std::size_t row = 1; row <= RowCount(); ++row) SetChecked(row, false);
}

bool ColumnChooser::Save(common::EnvRec& env, ColumnCatalogue& loaded) {
    bool anyChecked = false;
    for (std::size_t row = 1; row <= RowCount() && !anyChecked; ++row) anyChecked = Checked(row);
    if (!anyChecked) {
        common::ShowWarning(std::string("全ての項目を非表示にする事は出来ません。　") + "\r\n",
                            common::msg_style::kExclamation);
        return false;
    }
    CFMCT50M(env, "", edit_);
    CFMCT10M(env, "", loaded);
    common::ShowNotice(std::string("表示項目を設定しました。") + "\r\n\r\n" +
                           "次に抽出ボタンを押下すると有効になります。　　" + "\r\n",
                       common::msg_style::kInformation);
    return true;
}

}  // namespace lists
