#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "common/files/env_rec.h"
#include "lists/column_catalogue.h"

namespace lists {

// Which buttons the chooser dialog offers: as the column chooser, save and
// cancel; for the stored-conditions sample list only cancel, so that the
// sample rows can never be saved as the catalogue.
struct ChooserButtons {
    bool save = false;
    bool cancel = false;
    bool remove = false;
};
inline constexpr ChooserButtons kColumnChooserButtons{true, true, false};
inline constexpr ChooserButtons kStoredConditionsButtons{false, true, false};

// The column chooser without its dialog: an edit copy of the catalogue and
// one row (1-based) per non-reserved column, checked when it is shown.
class ColumnChooser {
public:
    explicit ColumnChooser(const std::vector<ListColumnRec>& columns);

    std::size_t RowCount() const { return rowMap_.size(); }
    // "001", "002", ...
    std::string RowText(std::size_t row) const;
    // The trimmed caption followed by 42 blanks.
    std::string RowCaption(std::size_t row) const;
    bool Checked(std::size_t row) const;
    void SetChecked(std::size_t row, bool checked);
    void Toggle(std::size_t row);
    void ShowAll();
    void HideAll();

    // With no row checked: the warning "全ての項目を非表示にする事は出来ません。　"
    // and false, nothing written. Otherwise the edit copy replaces the
    // catalogue file, `loaded` is read again, the user is told, and true.
    bool Save(common::EnvRec& env, ColumnCatalogue& loaded);

    const std::vector<ListColumnRec>& EditCopy() const { return edit_; }

private:
    ListColumnRec& Column(std::size_t row) { return edit_[rowMap_[row - 1] - 1]; }
    const ListColumnRec& Column(std::size_t row) const { return edit_[rowMap_[row - 1] - 1]; }

    std::vector<ListColumnRec> edit_;
    std::vector<std::size_t> rowMap_;  // row - 1 -> catalogue row
};

}  // namespace lists
