#include <gtest/gtest.h>

#include "tests/support/file_size_limit.h"

#include <csignal>
#include <filesystem>
#include <iterator>
#include <span>
#include <string>
#include <vector>

#include <sys/resource.h>

#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/trapped_error.h"
#include "tests/common/files/file_routine_fixture.h"
#include "tests/support/file_bytes.h"
#include "tests/support/trapped.h"

namespace {

using Lines = std::vector<std::string>;
using testsupport::ErrorNumberOf;
using testsupport::ReadBytes;
using testsupport::WriteBytes;


class TextFile : public testsupport::FileRoutineTest {};

TEST_F(TextFile, ReadsEveryKindOfLineEnd) {
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\r\n", {""}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb\n", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"last line without end", {"last line without end"}},
        {"a\rb\r\n", {"a\rb"}},  // a lone CR is text
        {"\n\n", {"", ""}},
    };
    for (const auto& c : cases) {
        WriteBytes(Path("in.txt"), c.bytes);
        Lines lines{"stale"};
        common::CFFIL20M(Path("in.txt"), lines);
        EXPECT_EQ(lines, c.lines) << testing::PrintToString(c.bytes);
        EXPECT_EQ(common::UpperBoundOrZero(lines), static_cast<long>(c.lines.size()));
    }
    EXPECT_TRUE(ErrorLog().empty());
}

TEST_F(TextFile, JapaneseRoundTripIsByteExact) {
    const std::string bytes = "\x8A\xE9\x8B\xC6\x88\xEA\x97\x97\t\x81\x60\x87\x40\r\n\r\n";
    common::CFFIL30M(Lines{"企業一覧\t～①", ""}, Path("out.txt"));
    EXPECT_EQ(ReadBytes(Path("out.txt")), bytes);

    Lines lines;
    common::CFFIL20M(Path("out.txt"), lines);
    EXPECT_EQ(lines, (Lines{"企業一覧\t～①", ""}));
}

TEST_F(TextFile, InvalidBytesReadAsQuestionMarksWithOneWarning) {
    WriteBytes(Path("bad.txt"), "a\xFF\r\n\x81\r\nok\r\n");
    Lines lines;
    {
        common::FunctionIdGuard caller("CALLER1M");
        common::CFFIL20M(Path("bad.txt"), lines);
    }
    EXPECT_EQ(lines, (Lines{"a?", "?", "ok"}));
    const Lines log = ErrorLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("CFFIL20M,90:Worning,00,", 0), 0u) << log[0];
    EXPECT_NE(log[0].find("2件"), std::string::npos) << log[0];
    EXPECT_NE(log[0].find(Path("bad.txt")), std::string::npos) << log[0];
}

TEST_F(TextFile, UnmappableCharactersWrittenAsQuestionMarksWithOneWarning) {
    common::CFFIL30M(Lines{"한국", "ok", "😀"}, Path("out.txt"));
    EXPECT_EQ(ReadBytes(Path("out.txt")), "??\r\nok\r\n?\r\n");
    const Lines log = ErrorLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].rfind("CFFIL30M,90:Worning,00,", 0), 0u) << log[0];
    EXPECT_NE(log[0].find("3件"), std::string::npos) << log[0];
}

TEST_F(TextFile, ReadingAMissingFileRaisesToTheCaller) {
    Lines lines;
    EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL20M(Path("none.txt"), lines); }), platform::error_number::kFileNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL20M(Path("no/none.txt"), lines); }),
              platform::error_number::kPathNotFound);
    EXPECT_EQ(common::State().functionId, "");
}

TEST_F(TextFile, CFFIL21MTellsWhetherThereIsALine) {
    Lines lines{"stale"};
    EXPECT_FALSE(common::CFFIL21M(Path("none.txt"), lines));
    EXPECT_TRUE(lines.empty());
    EXPECT_EQ(common::State().missingFilePath, Path("none.txt"));

    WriteBytes(Path("empty.txt"), "");
    EXPECT_FALSE(common::CFFIL21M(Path("empty.txt"), lines));
    EXPECT_TRUE(lines.empty());

    WriteBytes(Path("blank.txt"), "\r\n");
    EXPECT_TRUE(common::CFFIL21M(Path("blank.txt"), lines));
    EXPECT_EQ(lines, Lines{""});
    EXPECT_TRUE(ui_.presenter->boxes.empty());
}

TEST_F(TextFile, CFFIL23MReadsTheWholeText) {
    std::string text = "stale";
    EXPECT_FALSE(common::CFFIL23M(Path("none.txt"), text));
    EXPECT_EQ(text, "");
    WriteBytes(Path("empty.txt"), "");
    EXPECT_FALSE(common::CFFIL23M(Path("empty.txt"), text));
    WriteBytes(Path("two.txt"), "\x95\x5C\r\nb");
    EXPECT_TRUE(common::CFFIL23M(Path("two.txt"), text));
    EXPECT_EQ(text, "表\r\nb");
}

TEST_F(TextFile, CFFIL10MReportsOnlyWithALabel) {
    WriteBytes(Path("here.txt"), "x");
    common::State().missingFilePath = "old";
    EXPECT_TRUE(common::CFFIL10M(Path("here.txt"), "Label"));
    EXPECT_EQ(common::State().missingFilePath, "");

    EXPECT_FALSE(common::CFFIL10M(Path("none.txt"), ""));
    EXPECT_EQ(common::State().missingFilePath, Path("none.txt"));
    EXPECT_TRUE(ui_.presenter->boxes.empty());
    EXPECT_TRUE(ErrorLog().empty());

    EXPECT_FALSE(common::CFFIL10M(Path("gone.txt"), "銘柄登録"));
    EXPECT_EQ(common::State().missingFilePath, Path("gone.txt"));
    const std::string message = "ファイル[ 銘柄登録 ]が存在しません。\r\n";
    ASSERT_EQ(ui_.presenter->boxes.size(), 1u);
    EXPECT_EQ(ui_.presenter->boxes[0].text, message);
    EXPECT_EQ(ui_.presenter->boxes[0].style, 16);
    EXPECT_EQ(ErrorLog(), (Lines{"CFFIL10M,E0:ErrApl ,00,ファイル[ 銘柄登録 ]が存在しません。",
                                 "CFFIL10M,E0:ErrApl ,00," + Path("gone.txt")}));
}

TEST_F(TextFile, CFFIL30MReplacesTheWholeFile) {
    WriteBytes(Path("out.txt"), "old\r\nlines\r\n");
    common::CFFIL30M(Lines{}, Path("out.txt"));
    EXPECT_EQ(ReadBytes(Path("out.txt")), "");

    const Lines lines{"a", "b", "c"};
    common::CFFIL30M(std::span(lines).first(2), Path("out.txt"));
    EXPECT_EQ(ReadBytes(Path("out.txt")), "a\r\nb\r\n");
}

TEST_F(TextFile, FailedWriteKeepsTheOldFile) {
    WriteBytes(Path("out.txt"), "old\r\n");
    const Lines big(200, std::string(50, 'x'));
    {
        testsupport::FileSizeLimit limit(1000);
        EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL30M(big, Path("out.txt")); }), platform::error_number::kDiskFull);
        EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL32M(big, Path("out.txt")); }), platform::error_number::kDiskFull);
    }
    EXPECT_EQ(ReadBytes(Path("out.txt")), "old\r\n");
    EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL30M(big, Path("no/out.txt")); }),
              platform::error_number::kPathNotFound);
    EXPECT_EQ(ErrorNumberOf([&] { common::AppendLineToFile(Path("no/out.txt"), "x"); }),
              platform::error_number::kPathNotFound);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()), {}), 1);
}

TEST_F(TextFile, CFFIL31MKeepsTheWriteStepRegister) {
    common::CFFIL31M("一行", Path("one.txt"));
    EXPECT_EQ(ReadBytes(Path("one.txt")), "\x88\xEA\x8D\x73\r\n");
    EXPECT_EQ(common::State().errFileName, Path("one.txt"));
    EXPECT_EQ(common::State().errStep, "Close");

    EXPECT_EQ(ErrorNumberOf([&] { common::CFFIL31M("x", Path("no/one.txt")); }),
              platform::error_number::kPathNotFound);
    EXPECT_EQ(common::State().errFileName, Path("no/one.txt"));
    EXPECT_EQ(common::State().errStep, "Print");
}

TEST_F(TextFile, AppendingAddsLinesAndCreatesMissingFiles) {
    common::CFFIL32M(Lines{}, Path("new.txt"));
    EXPECT_EQ(ReadBytes(Path("new.txt")), "");

    WriteBytes(Path("old.txt"), "keep");
    common::CFFIL32M(Lines{}, Path("old.txt"));
    EXPECT_EQ(ReadBytes(Path("old.txt")), "keep");

    common::CFFIL32M(Lines{"a", "b"}, Path("new.txt"));
    common::AppendLineToFile(Path("new.txt"), "表");
    EXPECT_EQ(ReadBytes(Path("new.txt")), "a\r\nb\r\n\x95\x5C\r\n");
}

}  // namespace
