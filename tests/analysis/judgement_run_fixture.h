#pragma once
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/files/data_file.h"
#include "common/logs/logs.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/startup/process_context.h"
#include "common/startup/run_env.h"
#include "common/tasks/ctr_file.h"
#include "platform/cp932.h"
#include "tests/support/fake_ui.h"
#include "tests/support/file_bytes.h"
#include "tests/support/program_folder.h"

namespace analysis_test {

// A Korvane program folder with the judgement of Japan (process 21) as the
// current process, a recording user interface and readers of its logs.
class JudgementRunSetup {
public:
    static constexpr long kProcess = 21;

    JudgementRunSetup() {
        common::CCENV00M(env);
        common::SetTaskWorkPaths(0, 0, env);
        common::LoadLogSwitches(env);
        common::SetProcessContext(2, 1);
        InstallUi();
    }

    // The fake user interface with `pump` serving the event loop.
    void InstallUi(std::shared_ptr<common::EventPump> pump = nullptr) {
        common::InstallUi({ui.presenter, forms, pump ? pump : ui.pump, nullptr,
                           std::make_shared<testsupport::ThrowingProgramEnd>()});
    }

    void SetCtr(const std::string& status, const std::string& step, long process = kProcess) {
        common::CtrRec rec;
        common::ClearCtrRec(rec);
        rec.Status = status;
        rec.Step = step;
        common::WriteCtrRec(process, env, rec);
    }
    common::CtrRec Ctr(long process = kProcess) {
        common::CtrRec rec;
        common::ReadCtrRec(process, env, rec);
        return rec;
    }

    static std::string ReadLog(const std::string& path) {
        return std::filesystem::exists(path) ? platform::FromCp932(testsupport::ReadBytes(path)).text : "";
    }
    std::string RunLog() const { return ReadLog(common::State().runLogPath); }
    std::string ErrorLog() const { return ReadLog(common::State().errorLogPath); }

    std::string DataPath(long fileNumber, long procIdx, long sequence, const std::string& extension) {
        return common::BuildDataFilePath(fileNumber, procIdx, sequence, "", extension, env);
    }

    testsupport::ProgramFolder folder{true};
    testsupport::FakeUi ui;
    std::shared_ptr<testsupport::RecordingForms> forms = std::make_shared<testsupport::RecordingForms>();
    common::EnvRec env;
};

class JudgementRunTest : public ::testing::Test, public JudgementRunSetup {};

}  // namespace analysis_test
