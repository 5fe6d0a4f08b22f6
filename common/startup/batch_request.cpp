#include "common/startup/batch_request.h"

#include <functional>

#include "platform/utf8_text.h"

namespace common {

namespace {

constexpr std::size_t kTextLength = 50;
constexpr int kCellsPerGroup = 5;

// Calls `visit` with each used cell and its 1-based character position.
void ForEachCell(const std::function<void(int item, int group, std::size_t position)>& visit) {
    for (int group = 0; group < BatchRequestTable::kGroups; ++group) {
        for (int item = 1; item <= kCellsPerGroup; ++item) {
            visit(item, group, static_cast<std::size_t>(kCellsPerGroup * group + item));
        }
    }
}

}  // namespace

void ClearBatchRequest(BatchRequestTable& table) {
    ForEachCell([&](int item, int group, std::size_t) { table.cell(item, group) = 0; });
}

std::string EncodeBatchRequest(const BatchRequestTable& table) {
    std::string text(kTextLength, '0');
    ForEachCell([&](int item, int group, std::size_t position) {
        text[position - 1] = std::to_string(table.cell(item, group)).front();
    });
    return text;
}

void DecodeBatchRequest(BatchRequestTable& table, std::string_view text) {
    ForEachCell([&](int item, int group, std::size_t position) {
        const std::string character = platform::MidChars(text, position, 1);
        const bool digit = character.size() == 1 && character[0] >= '0' && character[0] <= '9';
        table.cell(item, group) = digit ? character[0] - '0' : 0;
    });
}

}  // namespace common
