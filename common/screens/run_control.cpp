#include "common/screens/run_control.h"

#include <string>

#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/batch_chain.h"
#include "common/startup/run_env.h"
#include "common/text/text_compare.h"
#include "platform/instance_lock.h"

namespace common {

namespace {

constexpr const char* kCrLf = "\r\n";
constexpr const char* kResetAdvice = "「その他の機能」の「実行環境のリセット」を行ってから再実行して下さい。　";

// The process IDs of the analysis program's runs: their interruptions are
// resumed there, not here.
constexpr const char* kAnalysisProcessIds[] = {"AKAGI000", "AMNIG000", "ABOAS000"};

std::string ReplaceAll(std::string text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
        text.replace(at, from.size(), to);
    }
    return text;
}

const char* ProgramName(bool korvane) { return korvane ? "Korvane" : "Mirelda"; }

std::string RunMarkedText(const std::string& exec) {
    const std::string text = std::string(kCrLf) + kCrLf + "「@string@」処理中です。　" + kCrLf +
                             "「@string@」処理が終了してから実行して下さい。　" + kCrLf + kCrLf +
                             "処理中で無いにもかかわらず、このメッセージが表示される場合は、　" + kCrLf +
                             "ご不便をお掛けして、大変申し訳ございませんが、　" + kCrLf + kResetAdvice + kCrLf + kCrLf;
    return ReplaceAll(text, "@string@", ProgramName(exec != "1"));
}

// The interrupted run belongs to the other program: only there can it resume.
std::string InterruptedElsewhereText(bool korvane) {
    return std::string(kCrLf) + ReadSetting("MirControl\\Common\\ProcName") + "の処理が中断中です。　" + kCrLf + kCrLf +
           "「" + ProgramName(!korvane) + "」で中断中の処理を再開するか、　" + kCrLf + kResetAdvice + kCrLf;
}

bool IsAnalysisProcessId(const std::string& id) {
    for (const char* analysisId : kAnalysisProcessIds) {
        if (TextEquals(id, analysisId)) return true;
    }
    return false;
}

}  // namespace

const char* OwnRunMark() { return State().isKorvane ? "2" : "1"; }

void ClearOwnRunMark() {
    if (ReadSetting("MirControl\\Common\\Exec") != OwnRunMark()) return;
    WriteSetting("MirControl\\Common\\Exec", "");
    // The run was cut off, as a run that ends on an error is: the next run's
    // start offers to resume it where its files stand.
    WriteSetting("MirControl\\Common\\Cancel", "1");
}

bool WarnWhileOtherProgramRuns() {
    const bool korvane = State().isKorvane;
    EnvRec env;
    CCENV00M(env);
    // Taking the other program's lock for a moment tells whether it runs.
    const platform::InstanceLock probe(env.folder(Folder::Ctrl) + "/" + ProgramName(!korvane) + ".lock");
    if (probe.acquired()) return false;
    ShowWarning(RunMarkedText(korvane ? "1" : "2"), 48);
    return true;
}

bool TryEnterBusy() {
    bool& busy = State().busy;
    if (busy) return false;
    busy = true;
    return true;
}

bool CheckExclusiveStart(bool korvane) {
    const std::string exec = ReadSetting("MirControl\\Common\\Exec");
    if (!exec.empty()) {
        ShowWarning(RunMarkedText(exec), 48);
        return false;
    }
    if (ReadSetting("MirControl\\Common\\Cancel") != "1") return true;
    // An interrupted run is recorded: it is resumed or reported, and the
    // caller's own run does not start either way. A run without a process
    // ID counts as this program's own.
    const std::string id = ReadSetting("MirControl\\Common\\ProcId");
    if (id.empty() || IsAnalysisProcessId(id) == korvane) {
        ResumeInterruptedRun();
    } else {
        ShowWarning(InterruptedElsewhereText(korvane), 48);
    }
    return false;
}

bool CheckExclusiveCollection() { return CheckExclusiveStart(false); }

}  // namespace common
