#include "marketdata/key.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"
#include "tests/support/trapped.h"

namespace {

using marketdata::Key;

TEST(Key, BlankKeyLineHasItsTabsAtTheKeyColumns) {
    testsupport::ProgramFolder folder;
    Key key;
    marketdata::InitKey("", "", "", "", key);
    std::string line = "left over";
    marketdata::KeyToLine(key, line);
    ASSERT_EQ(line.size(), marketdata::kKeyLineLength);
    const std::vector<std::size_t> tabColumns{4, 9, 14, 19, 24, 29, 34, 39, 44, 49, 54, 75, 77, 79, 90};
    std::vector<std::size_t> found;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '\t') {
            found.push_back(i + 1);
        } else {
            EXPECT_EQ(line[i], ' ') << "column " << i + 1;
        }
    }
    EXPECT_EQ(found, tabColumns);
}

TEST(Key, InitKeySetsTheFourValuesAndBlanksTheRest) {
    testsupport::ProgramFolder folder;
    Key key;
    key.CorpCode = "7203";
    key.Flag1 = "1";
    marketdata::InitKey("JPN", "A", "1000", "0050", key);
    EXPECT_EQ(key.Market, "JPN");
    EXPECT_EQ(key.Code1, "A   ");
    EXPECT_EQ(key.Category, "1000");
    EXPECT_EQ(key.IndCode0020, "0050");
    EXPECT_EQ(key.CorpCode, std::string(20, ' '));
    EXPECT_EQ(key.Flag1, " ");
}

// Fields of a key line: two-character market, a 25-character code.
std::string SampleLine() {
    return "JP\tC1\t1000\t0050\t\t\t\t\t\t\t\t1234567890123456789012345\t1\t\t2024/03/01\t09:15:00\tnext";
}

TEST(Key, FieldsAreFittedToTheirWidthsFromEitherArrayForm) {
    testsupport::ProgramFolder folder;
    const std::string line = SampleLine();
    const std::vector<std::string_view> pieces = marketdata::SplitTabs(line);

    Key fromSplit;
    long position = 0;
    marketdata::KeyFromFields(pieces, position, fromSplit);
    EXPECT_EQ(position, 16);
    EXPECT_EQ(marketdata::NextField(pieces, position), "next");

    Key fromArray;
    const std::vector<std::string_view> array = marketdata::FieldsToArray(pieces);
    position = 1;
    marketdata::KeyFromFields(array, position, fromArray);
    EXPECT_EQ(position, 17);

    for (const Key* key : {&fromSplit, &fromArray}) {
        EXPECT_EQ(key->Market, "JP ");
        EXPECT_EQ(key->CorpCode, "12345678901234567890");
        EXPECT_EQ(key->Flag2, " ");
        EXPECT_EQ(key->UpdateTime, "09:15:00");
    }
    std::string back;
    marketdata::KeyToLine(fromSplit, back);
    EXPECT_EQ(back, "JP \tC1  \t1000\t0050\t    \t    \t    \t    \t    \t    \t    \t12345678901234567890\t1\t \t"
                    "2024/03/01\t09:15:00");
}

TEST(Key, NonAsciiValuesAreCutAndPaddedOnCharacterBoundariesAndTheCutIsLogged) {
    testsupport::ProgramFolder folder;
    common::EnvRec env;
    common::CCENV00M(env);
    common::SetTaskWorkPaths(0, 0, env);
    const std::string longCode = "日本語の銘柄コードが二十文字を超えています";  // 21 characters
    const std::string line = "日本\t\t1000\t\t\t\t\t\t\t\t\t" + longCode + "\t\t\t\t";
    Key key;
    long position = 0;
    marketdata::KeyFromFields(marketdata::SplitTabs(line), position, key);
    EXPECT_EQ(key.Market, "日本 ");
    EXPECT_EQ(key.CorpCode, platform::LeftChars(longCode, 20));

    const std::string log = platform::FromCp932(testsupport::ReadBytes(common::State().errorLogPath)).text;
    EXPECT_NE(log.find("CorpCode(20)=" + longCode), std::string::npos) << log;
    EXPECT_EQ(log.find("Market"), std::string::npos) << "a padded value is no cut";
}

TEST(Key, NextFieldPastTheLastFieldIsSubscriptOutOfRange) {
    const std::vector<std::string_view> pieces = marketdata::SplitTabs("a\tb");
    long position = 2;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { marketdata::NextField(pieces, position); }), 9);
    Key key;
    position = 0;
    EXPECT_EQ(testsupport::ErrorNumberOf([&] { marketdata::KeyFromFields(pieces, position, key); }), 9);
}

TEST(Key, IdentityIsMarketCategoryAndCodeAtFullWidth) {
    Key key;
    marketdata::InitKey("JPN", "", "1000", "", key);
    key.CorpCode = "7203";
    std::string identity = "old";
    marketdata::CdmKeyString(key, identity);
    EXPECT_EQ(identity, "JPN10007203" + std::string(16, ' '));
    EXPECT_EQ(identity.size(), marketdata::kKeyIdentityLength);
}

}  // namespace
