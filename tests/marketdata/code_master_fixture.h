#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "marketdata/code_master.h"
#include "platform/cp932.h"
#include "platform/utf8_text.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace marketdata_test {

using Fields = std::vector<std::string>;

// The 198 fields of a full code-master line: every typed field holds a value
// other than its default and the texts are Japanese.
inline Fields FullFields(const std::string& market, const std::string& category, const std::string& code) {
    Fields f{platform::PadRightChars(market, 3), "    ", platform::PadRightChars(category, 4),
             "0050", "0100", "0200", "0300", "0400", "    ", "    ", "    ",
             platform::PadRightChars(code, 20), "1", " ", "2024/03/01", "09:15:00",
             "A", "B", "東証プライム市場区分", "0000"};
    while (f.size() < 96) f.push_back("テキスト" + std::to_string(f.size() + 1));
    f[93] = "属性四ＡＢＣＤＥＦＧ";
    f[94] = "X";
    f[95] = "Y";
    for (const char* value : {"-7", "0", "2147483647", "12", "5", "2024/02/29", "12", "-3", "12.5", "0.0001",
                              "-98765.4321", "42", "1000000"}) {
        f.push_back(value);
    }
    for (int group = 1; group <= 3; ++group) {
        for (const char* value : {"1", "2", "3", "1.5", "2.25", "0", "-4", "100"}) f.push_back(value);
    }
    while (f.size() < 198) f.push_back("情報" + std::to_string(f.size() + 1));
    f[170] = f[173] = "トヨタ自動車株式会社";
    f[183] = "輸送用機器";
    return f;
}

// The first `count` fields joined by TAB.
inline std::string Join(const Fields& fields, std::size_t count) {
    std::string line;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) line += '\t';
        line += fields[i];
    }
    return line;
}

inline std::string Join(const Fields& fields) { return Join(fields, fields.size()); }

inline std::string Cp932File(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    return platform::ToCp932(text).bytes;
}

// A program folder with its data tree, logs and a fake user interface.
class CodeMasterTest : public ::testing::Test {
protected:
    CodeMasterTest() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
    }

    std::string DataPath(long fileNumber, const std::string& extension) {
        return common::BuildDataFilePath(fileNumber, 0, 0, "", extension, env);
    }
    std::string MasterPath(const std::string& extension = ".txt") {
        return DataPath(marketdata::kCodeMasterFileNumber, extension);
    }
    void WriteMaster(const std::vector<std::string>& lines, const std::string& extension = ".txt") {
        testsupport::WriteBytes(MasterPath(extension), Cp932File(lines));
    }
    std::string ErrorLog() const {
        const std::string path = common::State().errorLogPath;
        return std::filesystem::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }

    testsupport::ProgramFolder folder;
    testsupport::FakeUi ui;
    common::EnvRec env;
};

}  // namespace marketdata_test
