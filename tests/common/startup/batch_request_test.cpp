#include "common/startup/batch_request.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using common::BatchRequestTable;

TEST(BatchRequest, FirstAndLastCellRoundTrip) {
    BatchRequestTable table;
    table.cell(1, 0) = 1;
    table.cell(5, 8) = 1;
    const std::string text = common::EncodeBatchRequest(table);
    std::string expected(50, '0');
    expected[0] = '1';
    expected[44] = '1';
    EXPECT_EQ(text, expected);

    BatchRequestTable decoded;
    common::DecodeBatchRequest(decoded, text);
    EXPECT_EQ(decoded.cells, table.cells);
}

TEST(BatchRequest, ClearEmptiesEveryUsedCell) {
    BatchRequestTable table;
    table.cells.fill(1);
    common::ClearBatchRequest(table);
    EXPECT_EQ(common::EncodeBatchRequest(table), std::string(50, '0'));
    for (int item = 1; item <= 5; ++item) {
        for (int group = 0; group <= 8; ++group) EXPECT_EQ(table.cell(item, group), 0) << item << "," << group;
    }
}

TEST(BatchRequest, DamagedTextReadsAsZeroCells) {
    const struct {
        std::string text;
        std::vector<std::pair<int, int>> setCells;  // (item, group) that read 1
    } cases[] = {
        {"", {}},
        {"1", {{1, 0}}},
        {"1x 1", {{1, 0}, {4, 0}}},
        {std::string(44, '0') + "1", {{5, 8}}},
        // Positions count characters, not bytes: the full-width digit is one
        // character and no digit.
        {"１1", {{2, 0}}},
    };
    for (const auto& c : cases) {
        BatchRequestTable table;
        table.cells.fill(7);  // nothing of an earlier value may survive
        common::DecodeBatchRequest(table, c.text);
        BatchRequestTable expected;
        expected.cells.fill(7);
        common::ClearBatchRequest(expected);
        for (const auto& [item, group] : c.setCells) expected.cell(item, group) = 1;
        EXPECT_EQ(table.cells, expected.cells) << '"' << c.text << '"';
    }
}

}  // namespace
