#include "lists/list_sort.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "common/text/text_compare.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/utf8_text.h"

namespace lists {

namespace {

// A numeric cell: its magnitude and 1-based item index.
struct NumberLine {
    double magnitude = 0;
    std::size_t item = 0;
};

std::optional<double> CellNumber(const std::string& text) {
    std::string bare = platform::TrimBlanks(text);
    std::erase(bare, '%');
    return platform::ParseDouble(bare);
}

void SortByMagnitude(std::vector<NumberLine>& lines) {
    std::stable_sort(lines.begin(), lines.end(),
                     [](const NumberLine& a, const NumberLine& b) { return a.magnitude < b.magnitude; });
}

void WriteGroup(const char* group, std::size_t keyCell, const std::vector<NumberLine>& lines, bool reversed,
                ListData& list, long& rank) {
    if (reversed) {
        for (auto it = lines.rbegin(); it != lines.rend(); ++it) WriteRankKey(group, keyCell, it->item, list, rank);
    } else {
        for (const NumberLine& line : lines) WriteRankKey(group, keyCell, line.item, list, rank);
    }
}

void SortByText(std::size_t cell, bool ascending, ListData& list) {
    std::vector<std::pair<std::string, ListRow>> keyed;
    keyed.reserve(list.rows.size());
    for (ListRow& row : list.rows) {
        const std::string& text = cell < row.cells.size() ? row.cells[cell].text : std::string();
        keyed.emplace_back(common::NormalizeForCompare(text), std::move(row));
    }
    std::stable_sort(keyed.begin(), keyed.end(), [ascending](const auto& a, const auto& b) {
        return ascending ? a.first < b.first : b.first < a.first;
    });
    for (std::size_t i = 0; i < keyed.size(); ++i) list.rows[i] = std::move(keyed[i].second);
}

bool NextDirection(SortMode mode, bool lastAscending) {
    switch (mode) {
        case SortMode::Ascending:
            return true;
        case SortMode::Descending:
            return false;
        case SortMode::Toggle:
            break;
    }
    return !lastAscending;
}

}  // namespace

void WriteRankKey(const std::string& groupDigit, std::size_t keyCell, std::size_t itemIndex, ListData& list,
                  long& rank) {
    ++rank;
    SetCellText(list.rows[itemIndex - 1], keyCell,
                groupDigit + platform::FormatNumber(static_cast<double>(rank), "00000000"));
}

void SortListByNumber(std::size_t sortedCell, std::size_t keyCell, bool ascending, ListData& list) {
    std::vector<NumberLine> positives;
    std::vector<NumberLine> negatives;
    std::vector<NumberLine> texts;
    for (std::size_t i = 0; i < list.rows.size(); ++i) {
        const ListRow& row = list.rows[i];
        const std::optional<double> value =
            sortedCell < row.cells.size() ? CellNumber(row.cells[sortedCell].text) : std::nullopt;
        if (!value) {
            texts.push_back({0, i + 1});
        } else if (*value >= 0) {
            positives.push_back({*value, i + 1});
        } else {
            negatives.push_back({std::fabs(*value), i + 1});
        }
    }
    SortByMagnitude(positives);
    SortByMagnitude(negatives);

    long rank = 0;
    if (ascending) {
        WriteGroup("1", keyCell, negatives, true, list, rank);
        WriteGroup("2", keyCell, positives, false, list, rank);
    } else {
        WriteGroup("1", keyCell, positives, true, list, rank);
        WriteGroup("2", keyCell, negatives, false, list, rank);
    }
    WriteGroup("3", keyCell, texts, false, list, rank);

    std::stable_sort(list.rows.begin(), list.rows.end(), [keyCell](const ListRow& a, const ListRow& b) {
        return a.cells[keyCell].text < b.cells[keyCell].text;
    });
}

void SortListByColumn(std::vector<ColumnSortState>& states, SortMode mode, std::size_t clickedColumn, ListData& list) {
    if (clickedColumn < 1 || clickedColumn >= list.columns.size() || clickedColumn > states.size()) return;
    ColumnSortState& state = states[clickedColumn - 1];
    const bool ascending = NextDirection(mode, state.lastAscending);
    state.lastAscending = ascending;
    if (clickedColumn > 1 && state.sortKind >= kSortAsNumber) {
        SortListByNumber(clickedColumn - 1, list.KeyCell(), ascending, list);
    } else {
        SortByText(clickedColumn - 1, ascending, list);
    }
}

}  // namespace lists
