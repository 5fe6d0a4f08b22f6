#include "lists/column_catalogue.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "common/files/data_file.h"
#include "common/startup/run_env.h"
#include "lists/column_chooser.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace {

using lists::ColumnCatalogue;
using lists::ListColumnRec;

class CatalogueTest : public ::testing::Test {
protected:
    CatalogueTest() { common::CCENV00M(env_); }
    std::string Path() { return common::BuildDataFilePath(lists::kCatalogueFileNumber, 0, 0, "", "", env_); }
    ColumnCatalogue Read() {
        ColumnCatalogue catalogue;
        lists::CFMCT10M(env_, "", catalogue);
        return catalogue;
    }
    testsupport::ProgramFolder folder_{true};
    testsupport::FakeUi ui_;
    common::EnvRec env_;
};

TEST_F(CatalogueTest, NoFileGivesTheDefaultsAndLeavesAFileThatReadsTheSame) {
    const ColumnCatalogue first = Read();
    ASSERT_EQ(first.columns.size(), 105u);
    EXPECT_EQ(first.companyCodeRow, 8u);
    EXPECT_EQ(first.companyCodeCompanion, 97);
    const ListColumnRec& market = first.columns[2];
    EXPECT_EQ(market.Caption, "市場");
    EXPECT_EQ(market.CompanionCol, 101);
    EXPECT_EQ(market.CondList, 1);
    EXPECT_EQ(first.columns[28].Hidden, 1);  // 5日移動平均値
    EXPECT_EQ(first.columns[43].CellType, lists::kCellRuleSet);
    for (std::size_t i = 0; i < first.columns.size(); ++i) {
        EXPECT_EQ(first.columns[i].ColNo, static_cast<std::int32_t>(i + 1));
        EXPECT_EQ(first.columns[i].SeqNo, first.columns[i].ColNo);
        EXPECT_EQ(first.columns[i].Spare, "0");
        EXPECT_FALSE(first.columns[i].Caption.empty());
    }
    ASSERT_TRUE(std::filesystem::exists(Path()));
    EXPECT_EQ(Read().columns, first.columns);

    const lists::ColumnLists lists = lists::DeriveColumnLists(first.columns);
    EXPECT_EQ(lists.selectable.size(), 91u);
    EXPECT_EQ(lists.condList.size(), 10u);
}

TEST_F(CatalogueTest, RoundTripKeepsEveryFieldAndPublishesAMovedCompanyCodeRow) {
    std::vector<ListColumnRec> columns = lists::BuildDefaultColumns();
    std::swap(columns[0], columns[7]);
    columns[0].Spare = "spare text";
    columns[5].Caption = "一二三四五六七八九十壱弐";
    lists::CFMCT50M(env_, "", columns);
    ColumnCatalogue catalogue = Read();
    EXPECT_EQ(catalogue.columns, columns);
    EXPECT_EQ(catalogue.companyCodeRow, 1u);
    const std::string bytes = testsupport::ReadBytes(Path());
    EXPECT_NE(bytes.find(std::string("\x18\x00", 2) + "\x88\xea", 0), std::string::npos);  // count 24, then 一
}

TEST_F(CatalogueTest, WritingNothingLeavesTheFile) {
    Read();
    const std::string before = testsupport::ReadBytes(Path());
    lists::CFMCT50M(env_, "", {});
    EXPECT_EQ(testsupport::ReadBytes(Path()), before);
}

TEST_F(CatalogueTest, ATornLastRecordIsDroppedAndAFileWithoutAWholeRecordGetsTheDefaults) {
    std::vector<ListColumnRec> columns = lists::BuildDefaultColumns();
    columns.resize(3);
    lists::CFMCT50M(env_, "", columns);
    std::string bytes = testsupport::ReadBytes(Path());
    testsupport::WriteBytes(Path(), bytes + bytes.substr(0, 30));
    EXPECT_EQ(Read().columns, columns);

    testsupport::WriteBytes(Path(), bytes.substr(0, 30));
    EXPECT_EQ(Read().columns.size(), 105u);
    EXPECT_GT(testsupport::ReadBytes(Path()).size(), 30u);
}

TEST_F(CatalogueTest, AnUnreadableFileGivesTheDefaultsAndStaysAsItIs) {
    // A folder in the file's place cannot be read by anyone, root included.
    std::filesystem::create_directories(Path());
    EXPECT_EQ(Read().columns.size(), 105u);
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

TEST_F(CatalogueTest, ChooserRefusesToHideEverythingAndSavesTheTicks) {
    ColumnCatalogue loaded = Read();
    lists::ColumnChooser chooser(loaded.columns);
    ASSERT_EQ(chooser.RowCount(), 91u);
    EXPECT_EQ(chooser.RowText(1), "001");
    EXPECT_EQ(chooser.RowCaption(1), "国" + std::string(42, ' '));

    const std::string before = testsupport::ReadBytes(Path());
    chooser.HideAll();
    EXPECT_FALSE(chooser.Save(env_, loaded));
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, "全ての項目を非表示にする事は出来ません。　\r\n");
    EXPECT_EQ(testsupport::ReadBytes(Path()), before);

    chooser.Toggle(1);
    chooser.Toggle(2);
    chooser.Toggle(2);
    EXPECT_TRUE(chooser.Checked(1));
    EXPECT_FALSE(chooser.Checked(2));
    EXPECT_TRUE(chooser.Save(env_, loaded));
    EXPECT_EQ(loaded.columns, chooser.EditCopy());
    EXPECT_EQ(loaded.columns[0].Hidden, 0);
    EXPECT_EQ(loaded.columns[1].Hidden, 1);
    EXPECT_EQ(loaded.columns[8].Hidden, 1);  // reserved rows are not offered and keep their flags
    EXPECT_EQ(Read().columns, loaded.columns);
}

}  // namespace
