#include "common/files/master_merge.h"

#include <filesystem>
#include <iterator>
#include <system_error>
#include <utility>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/tasks/task_files.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace common {

namespace {

// A merged file is first written whole under this extension. While it exists
// the sources it took in may be partly deleted already, so the next call
// finishes the job from it instead of gathering again.
constexpr const char* kPendingExt = ".mrg";

void Debug(const char* routine, const char* code, const std::string& message) {
    WriteInfoLog(LogSwitch(10), routine, log_tag::kDebug, code, message);
}

bool IsEmptySide(const std::vector<std::string>& lines) {
    return lines.empty() || (lines.size() == 1 && platform::TrimBlanks(lines.front()).empty());
}

bool KeepsMasterLine(const std::string& masterLine, const MergeKeyRec& keys) {
    if (keys.MatchMode == "1") return platform::MidChars(masterLine, 78, 1) == "1";
    return keys.KeepMaster == "1";
}

// Past the last line ranks above every key.
int CompareKeys(const MergeKey& a, const MergeKey& b) {
    if (!a && !b) return 0;
    if (!a) return 1;
    if (!b) return -1;
    return a->compare(*b);
}

void ShowMatchProgress(MSGRec& msg, long done, long total) {
    msg.lngDenominator = total;
    msg.lngNumerator = done;
    msg.LabelText2 = std::string("\r\n\r\n") + "コードマスター" + "のマッチング処理中" + "\r\n" + "処理済　" +
                     platform::FormatNumber(static_cast<double>(done) / static_cast<double>(total), "##0%");
    ShowProgress(msg);
}

// One task of a split run: the numbers in its file names and its folders.
struct SplitTask {
    long ProcIdx;
    long TaskSequence;
    EnvRec env;
};

std::vector<SplitTask> ReadSplitTasks(long ProcIdx, const TSCRec& control, const EnvRec& env) {
    std::vector<SplitTask> tasks;
    for (long i = 1; i <= control.TaskCount; ++i) {
        SplitTask task{ProcIdx, i, env};
        TSDRec detail;
        // Without a detail record the task is named by its place in the run,
        // in the parent's folders, which is what the record would say.
        if (CFTSD10M(102, "", ProcIdx, i, "", task.env, detail)) {
            task.ProcIdx = detail.ProcIdx;
            task.TaskSequence = detail.TaskSequence;
            if (!detail.Path.empty()) task.env.Path = detail.Path;
            if (!detail.MainPath.empty()) task.env.MainPath = detail.MainPath;
            if (!detail.TaskPath.empty()) task.env.TaskPath = detail.TaskPath;
        }
        tasks.push_back(std::move(task));
    }
    return tasks;
}

// Writes the gathered result whole as result + kPendingExt; nothing when no
// task had a line (a fresh gather then just removes the old result).
void GatherSplitTasks(long FNameIdx, const std::string& result, bool fresh, std::vector<SplitTask>& tasks) {
    std::vector<std::string> lines;
    for (SplitTask& task : tasks) {
        const std::string path =
            CFFIL02M({FNameIdx, task.ProcIdx, task.TaskSequence, "", CFFIL03M(FNameIdx)}, task.env);
        std::vector<std::string> taskLines;
        if (CFFIL21M(path, taskLines)) {
            lines.insert(lines.end(), std::make_move_iterator(taskLines.begin()),
                         std::make_move_iterator(taskLines.end()));
        }
    }
    if (lines.empty()) {
        if (fresh) CFFIL70M(result);
        return;
    }
    // The old result is kept byte for byte, as an append would keep it.
    const std::string kept = !fresh && platform::FileExists(result) ? ReadFileBytes(result) : std::string();
    platform::AtomicReplace(result + kPendingExt, kept + EncodeLines(lines, result));
}

// The recovery's sources: its work file when that is base + ".tmp" (or the
// result left there by ReplaceMode "9"), and the ".rcv" line.
std::vector<std::string> RecoverySources(const std::string& base, bool replace) {
    if (replace) return {base + ".tmp", base + ".rcv"};
    return {base + ".rcv"};
}

void RemoveRecoverySources(const std::string& base, bool replace) {
    for (const std::string& source : RecoverySources(base, replace)) CFFIL70M(source);
}

// After a crash the finished merge takes its place. A source written after
// it holds lines the merge has not seen: it stays, for a merge of its own.
// Returns whether such a source is left.
bool FinishPendingRecovery(const std::string& base, const std::string& resultExt, bool replace) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_time_type finished = fs::last_write_time(base + kPendingExt, ec);
    bool newer = false;
    for (const std::string& source : RecoverySources(base, replace)) {
        if (!platform::FileExists(source)) continue;
        if (!ec && fs::last_write_time(source, ec) > finished) {
            newer = true;
        } else {
            CFFIL70M(source);
        }
    }
    CFFIL41M(base, kPendingExt, resultExt);
    return newer;
}

// The sources go before the result takes its place: until then the pending
// file is there for the next call to finish from.
void CommitRecovery(const std::string& base, const std::string& resultExt, bool replace) {
    RemoveRecoverySources(base, replace);
    CFFIL41M(base, kPendingExt, resultExt);
}

}  // namespace

bool CUMRG41M(long FNameIdx, long ProcIdx, const std::string& extension, const std::string& mode, EnvRec& env) {
    FunctionIdGuard guard("CUMRG41M");
    const std::string result = BuildDataFilePath(FNameIdx, 0, 0, "", extension, env);
    const bool fresh = mode == "1";
    TSCRec control;
    if (!CFTSC10M(ProcIdx, env, control)) {
        if (fresh) CFFIL70M(result);
        const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
        LogProcIdxLine(text, 16, "CUMRG41M", ProcIdx, platform::TrappedError(0, text, "CUMRG41M"));
        ShowResetAdviceMessage(text, 16);
        return true;
    }
    std::vector<SplitTask> tasks = ReadSplitTasks(ProcIdx, control, env);
    if (!platform::FileExists(result + kPendingExt)) GatherSplitTasks(FNameIdx, result, fresh, tasks);
    for (SplitTask& task : tasks) CFFIL76M(FNameIdx, task.ProcIdx, task.TaskSequence, task.env);
    CFFIL41M(result, kPendingExt, "");
    return true;
}

void CFRCV21M(const std::string& base, const std::string& workExt, const std::string& masterExt, MSGRec& msg,
              const MergeKeyRec& keys, MergeCounterRec& counter, std::vector<std::string>& resultLines) {
    FunctionIdGuard guard("CFRCV21M");
    resultLines.clear();
    msg.lngNumerator = 0;
    msg.LabelText2 = std::string("\r\n\r\n") + "マスターデータリカバリ処理（ファイルのリカバリ）";
    ShowProgress(msg);

    const bool replace = keys.ReplaceMode != "9";
    std::vector<std::string> master;
    bool hasMaster = CFFIL21M(base + masterExt, master);
    // ReplaceMode "9" leaves a merged result beside the master; recovery data
    // without a master always becomes the master.
    const std::string resultExt = replace || !hasMaster ? masterExt : ".tmp";

    const std::string pending = base + kPendingExt;
    if (platform::FileExists(pending)) {
        CFFIL20M(pending, resultLines);
        if (hasMaster) counter.ResultCount = UpperBoundOrZero(resultLines);
        if (!FinishPendingRecovery(base, resultExt, replace)) return;
        resultLines.clear();
        master.clear();
        hasMaster = CFFIL21M(base + masterExt, master);
    }

    std::vector<std::string> transactions;
    CFFIL21M(base + workExt, transactions);
    std::vector<std::string> recovery;
    if (CFFIL21M(base + ".rcv", recovery)) {
        if (recovery.size() > 1) {
            const std::string message =
                "リカバリ処理が不完全です（リカバリデータ件数不正）　件数=" + std::to_string(recovery.size());
            WriteErrorLog(State().errorLogOn, "CFRCV21M", log_tag::kErrApl, "00", message);
            ShowAppErrorMessage(message, 16);
            return;
        }
        transactions.push_back(std::move(recovery.front()));
    }
    if (transactions.empty()) {
        Debug("CFRCV21M", "02", std::string("CFFIL21M：") + "リカバリデータが０件なので、リカバリ処理を中止(" + base + ")");
        RemoveRecoverySources(base, replace);
        return;
    }

    SortLinesByKeys(transactions, keys);
    if (hasMaster) {
        CUMRG20M(master, transactions, msg, keys);
        if (msg.DisplayOn) {
            msg.lngNumerator = 1;
            msg.LabelText2 = std::string("\r\n\r\n") + "データの出力中";
            ShowProgress(msg);
        }
        counter.ResultCount = UpperBoundOrZero(master);
        resultLines = std::move(master);
    } else {
        resultLines = std::move(transactions);
    }
    CFFIL30M(resultLines, pending);
    CommitRecovery(base, resultExt, replace);
    if (!hasMaster) {
        Debug("CFRCV21M", "03",
              std::string("CFFIL21M：") + "マスターデータが存在しないので、リカバリデータと置換(" + base + ")");
    }
}

bool CUMRG20M(std::vector<std::string>& master, const std::vector<std::string>& transactions, MSGRec& msg,
              const MergeKeyRec& keys) {
    FunctionIdGuard guard("CUMRG20M");
    msg.lngDenominator = 1;
    msg.lngNumerator = 1;
    msg.LabelText2 = std::string("\r\n\r\n") + "企業一覧の更新準備";
    ShowProgress(msg);

    const long masterCount = UpperBoundOrZero(master);
    const long transactionCount = UpperBoundOrZero(transactions);
    const bool noTransaction = IsEmptySide(transactions);
    const bool noMaster = IsEmptySide(master);
    if (noTransaction) Debug("CUMRG20M", "01", "トランデータが０件。   " + std::to_string(transactionCount));
    if (noMaster) Debug("CUMRG20M", "02", "マスターデータが０件。   " + std::to_string(masterCount));
    if (noTransaction && noMaster) {
        Debug("CUMRG20M", "03", "トランデータ・マスターデータが共に０件。");
        return false;
    }
    if (noTransaction) {
        Debug("CUMRG20M", "04", "マスターデータのみ出力。");
        return true;
    }
    if (noMaster) {
        Debug("CUMRG20M", "05", "トランデータのみ出力。");
        master = transactions;
        return true;
    }
    Debug("CUMRG20M", "06", "後続のマッチング処理を実施。");
    Debug("CUMRG20M", "07", "マスターデータとトランデータのマッチング処理（トランデータを優先）");

    const LineKeyMaker maker(keys, "CUMRG20M");
    std::vector<std::string> work;
    work.swap(master);
    master.reserve(work.size() + transactions.size());
    long masterPos = 0;
    long transactionPos = 0;
    MergeKey masterKey;
    MergeKey transactionKey;
    NextMergeKey(masterKey, work, masterPos, maker);
    NextMergeKey(transactionKey, transactions, transactionPos, maker);
    const long total = masterCount + transactionCount;
    msg.lngDenominator = total;
    long taken = 0;
    long nextPercent = 0;
    // Each side ends by its count, so no key can be mistaken for the end.
    while (masterKey || transactionKey) {
        const int order = CompareKeys(masterKey, transactionKey);
        const auto takeTransaction = [&] {
            master.push_back(transactions[static_cast<std::size_t>(transactionPos - 1)]);
            ++taken;
        };
        if (order < 0) {
            master.push_back(std::move(work[static_cast<std::size_t>(masterPos - 1)]));
            NextMergeKey(masterKey, work, masterPos, maker);
        } else if (order > 0) {
            takeTransaction();
            NextMergeKey(transactionKey, transactions, transactionPos, maker);
        } else {
            std::string& masterLine = work[static_cast<std::size_t>(masterPos - 1)];
            if (KeepsMasterLine(masterLine, keys)) {
                master.push_back(std::move(masterLine));
            } else {
                takeTransaction();
            }
            NextMergeKey(masterKey, work, masterPos, maker);
            NextMergeKey(transactionKey, transactions, transactionPos, maker);
        }
        if (msg.DisplayOn) {
            const long done = masterPos + transactionPos;
            if (done * 100 / total >= nextPercent) {
                ++nextPercent;
                ShowMatchProgress(msg, done, total);
            }
        }
    }
    return taken > 0;
}

const MergeKey& NextMergeKey(MergeKey& key, std::span<const std::string> lines, long& position,
                             const LineKeyMaker& keys) {
    const long count = static_cast<long>(lines.size());
    if (position + 1 > count) {
        position = count;
        key.reset();
        return key;
    }
    ++position;
    key = keys.KeyOf(lines[static_cast<std::size_t>(position - 1)]);
    return key;
}

void CFCPIR0M(long fileNumber, long processNumber, long sequence, const std::string& namePart, const std::string&,
              const std::string&, EnvRec& env, MSGRec& msg) {
    FunctionIdGuard guard("CFCPIR0M");
    std::vector<std::string> resultLines;
    RecoverInCompanyOrder(fileNumber, processNumber, sequence, namePart, ".tmp", ".txt", env, msg, resultLines);
}

std::string RecoverInCompanyOrder(long fileNumber, long processNumber, long sequence, const std::string& namePart,
                                  const std::string& workExt, const std::string& masterExt, EnvRec& env,
                                  MSGRec& msg, std::vector<std::string>& resultLines) {
    SortKeyRec layout;
    SetKeyLayout3(layout);
    MergeKeyRec keys;
    CopyKeyLayout(layout, keys);
    const std::string base = CFFIL02M({fileNumber, processNumber, sequence, namePart, ""}, env);
    MergeCounterRec counter;
    resultLines.clear();
    CFRCV21M(base, workExt, masterExt, msg, keys, counter, resultLines);
    return base;
}

}  // namespace common
