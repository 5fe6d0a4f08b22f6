#include "common/files/hand_edited_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "tests/common/files/file_routine_fixture.h"

namespace {

std::string Cp932(const std::string& text) { return platform::ToCp932(text).bytes; }

struct EncodingCase {
    const char* name;
    std::string bytes;                // the file as an editor saved it
    std::vector<std::string> lines;   // what is read
    std::string after;                // the file afterwards
};

class HandEditedFile : public testsupport::FileRoutineTest {};

TEST_F(HandEditedFile, ReadsCp932AndUtf8AndKeepsTheFileInCp932) {
    const std::string cp932 = Cp932("業種\r\n水産・農林業\r\n");
    const EncodingCase cases[] = {
        {"cp932", cp932, {"業種", "水産・農林業"}, cp932},
        {"ascii", "a=1\nb=2", {"a=1", "b=2"}, "a=1\nb=2"},
        {"utf8 with LF", "業種\n水産・農林業\n", {"業種", "水産・農林業"}, cp932},
        {"utf8 with a byte-order mark, CR LF and an open last line", "\xEF\xBB\xBF業種\r\n水産・農林業",
         {"業種", "水産・農林業"}, cp932},
        // A character CP932 cannot hold reads as every later reader will see it.
        {"utf8 beyond cp932", "银行\n", {"?行"}, Cp932("?行\r\n")},
    };
    for (const EncodingCase& c : cases) {
        const std::string path = Path("Industry.txt");
        testsupport::WriteBytes(path, c.bytes);
        std::vector<std::string> lines{"old"};
        EXPECT_TRUE(common::ReadHandEditedFile(path, lines)) << c.name;
        EXPECT_EQ(lines, c.lines) << c.name;
        EXPECT_EQ(testsupport::ReadBytes(path), c.after) << c.name;
    }
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(HandEditedFile, RefusesAFileInNeitherEncodingNamingItsFirstBadLine) {
    const std::string path = Path("DspSaveNo04.dat");
    const std::string bytes = Cp932("MirControl_HpGet_HpPr=1\r\n") + "MirControl_HpGet_ListBrand=\xFF\xFE\r\n" +
                              Cp932("MirControl_HpGet_HpBackUp=\x81\r\n");
    testsupport::WriteBytes(path, bytes);
    std::vector<std::string> lines{"old"};
    EXPECT_FALSE(common::ReadHandEditedFile(path, lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(testsupport::ReadBytes(path), bytes);
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_NE(ui_.presenter->boxes[0].text.find(path + "　2行目"), std::string::npos) << ui_.presenter->boxes[0].text;
    ASSERT_EQ(ErrorLog().size(), 1u);
    EXPECT_NE(ErrorLog()[0].find(path + "　2行目"), std::string::npos) << ErrorLog()[0];
}

}  // namespace
