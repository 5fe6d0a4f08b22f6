#include "common/startup/batch_chain.h"

#include <iterator>
#include <string>

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "common/screens/ui_seam.h"
#include "common/settings/settings.h"
#include "common/startup/process_context.h"
#include "common/startup/program_parts.h"
#include "platform/trapped_error.h"

namespace common {

namespace {

struct ChainStep {
    int character;          // 1-based position in Common\Batch
    const char* stepId;     // nullptr: nothing runs, the request is only cleared
    long processIndex = 0;  // 0: the process context is left as it is
    long countryIndex = 0;
    bool always = false;  // cleared whether requested or not
    // The name a resume offer gives a step that sets no process context.
    const char* resumeName = "";
};

constexpr ChainStep kChain[] = {
    {1, "AEXCG00M", 11, 1},  {6, "ALIST00M", 4, 1},   {7, "ALIST00M", 4, 3},   {8, "ALIST00M", 4, 2},
    {11, "ACORP00M", 5, 1},  {12, nullptr, 0, 0, true}, {13, "ACORP00M", 5, 2}, {16, "ACORP00M", 6, 1},
    {17, "ACORP00M", 6, 3},  {18, "ACORP00M", 6, 2}, {21, "ACORP00M", 7, 1}, {26, "AHPJP00M", 1, 1},
    {27, "AHPJP00M", 1, 3},  {28, "AHPJP00M", 1, 2}, {36, "AUSCM00M", 0, 0, false, "銘柄登録"},
    {41, "AHPID00M", 0, 0, false, "業種別株価時系列データ（国内）"},
};

std::int32_t& Cell(BatchRequestTable& table, int character) {
    return table.cell((character - 1) % 5 + 1, (character - 1) / 5);
}

// True when the step came to its end.
bool RunStep(const ChainStep& step) {
    if (step.processIndex != 0) SetProcessContext(step.processIndex, step.countryIndex);
    const auto driver = Parts().drivers.find(step.stepId);
    if (driver == Parts().drivers.end()) {
        throw platform::TrappedError(5, "プロシージャの呼び出し、または引数が不正です。", step.stepId);
    }
    return driver->second();
}

// A cancel that came when the step had already come to its end interrupted
// the steps after it: the resume offer names the next one requested. With
// none left nothing was interrupted, and the cancel mark goes.
void LeaveRestForResume(BatchRequestTable& table, std::size_t next) {
    for (; next < std::size(kChain); ++next) {
        const ChainStep& step = kChain[next];
        if (step.stepId == nullptr || Cell(table, step.character) != 1) continue;
        if (step.processIndex != 0) {
            SetProcessContext(step.processIndex, step.countryIndex);
        } else {
            WriteSetting("MirControl\\Common\\ProcName", step.resumeName);
        }
        return;
    }
    WriteSetting("MirControl\\Common\\Cancel", "");
}

}  // namespace

void SaveBatchState(const BatchRequestTable& table) {
    WriteSetting("MirControl\\Common\\Batch", EncodeBatchRequest(table));
    for (const char* key : {"ProcName", "ProcFile", "Step", "ProcId", "SubProcId"}) {
        WriteSetting(std::string("MirControl\\Common\\") + key, "");
    }
}

void RunMarkedBatch(const std::string& execMark, const std::function<void(std::string& stepId)>& steps) {
    RunState& state = State();
    std::string stepId;
    try {
        Ui().mainWindow->SetMainWindowVisible(false);
        WriteSetting("MirControl\\Common\\Exec", execMark);
        steps(stepId);
    } catch (const platform::TrappedError& error) {
        LogVbError("ＶＢエラーを検出しました。　", 16, stepId, error);
        ShowVbErrorMessage("ＶＢエラーを検出しました。　", 16, error);
        WriteAbendLine(stepId);
        WriteSetting("MirControl\\Common\\Cancel", "1");
        EndProgram();
    }
    WriteSetting("MirControl\\Common\\Exec", "");
    state.CancelRequested = false;
    Ui().mainWindow->SetMainWindowVisible(true);
}

void RunCollectionBatch() {
    RunMarkedBatch("1", [](std::string& stepId) {
        const RunState& state = State();
        BatchRequestTable table;
        DecodeBatchRequest(table, ReadSetting("MirControl\\Common\\Batch"));
        for (std::size_t i = 0; i < std::size(kChain) && !state.CancelRequested; ++i) {
            const ChainStep& step = kChain[i];
            std::int32_t& cell = Cell(table, step.character);
            if (cell != 1 && !step.always) continue;
            bool finished = true;
            if (step.stepId != nullptr) {
                stepId = step.stepId;
                finished = RunStep(step);
            }
            // A step stopped short stays requested, to resume where it stopped.
            if (state.CancelRequested && !finished) break;
            cell = 0;
            SaveBatchState(table);
            if (state.CancelRequested) LeaveRestForResume(table, i + 1);
        }
    });
}

bool ResumeInterruptedRun() {
    const std::string question = ReadSetting("MirControl\\Common\\ProcName") +
                                 "の処理が中断中です。　\r\n\r\n中断中の処理を再開しますが、宜しいですか？　";
    if (AskOkCancel(question, 33) == 1) {
        WriteSetting("MirControl\\Common\\Cancel", "");
        if (Parts().batchRunner) Parts().batchRunner();
        return true;
    }
    ShowWarning(
        "「その他の機能」の「中断中の処理を再開」で中断中の処理を再開するか、　\r\n\r\n"
        "「その他の機能」の「実行環境のリセット」を行ってから再実行して下さい。　\r\n",
        48);
    return false;
}

}  // namespace common
