#include <array>
#include <optional>
#include <vector>

#include "analysis/judge_aggregation.h"
#include "analysis/judge_list.h"
#include "analysis/judge_record_io.h"
#include "analysis/judge_result_file.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/settings/settings.h"
#include "common/tasks/task_files.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr long kTaskDetailFileNumber = 102;
constexpr long kGatherStride = 1000;
constexpr long kDefaultRange = 2;
constexpr std::array<int, 5> kRangeYears{0, 3, 5, 10, 15};

long RangeIndex(const std::string& setting) {
    const std::optional<double> value = platform::ParseDouble(platform::TrimBlanks(setting));
    if (!value) return kDefaultRange;
    const long range = platform::ToLong(*value);
    return range < 0 || range > 4 ? kDefaultRange : range;
}

// The parts of the run, each with its own task path when its detail record
// names one.
std::vector<common::EnvRec> PartEnvironments(long processNumber, common::EnvRec& env) {
    common::TSCRec control;
    if (!common::CFTSC10M(processNumber, env, control)) {
        const std::string text = "アプリケーションエラー（制御情報が存在しません）　";
        common::LogProcIdxLine(text, 16, "CFKGRMRM", processNumber, platform::TrappedError(0, text, "CFKGRMRM"));
        common::ShowResetAdviceMessage(text, 16);
        return {};
    }
    std::vector<common::EnvRec> parts;
    for (long j = 1; j <= control.TaskCount; ++j) {
        common::EnvRec& part = parts.emplace_back(env);
        common::TSDRec detail;
        if (common::CFTSD10M(kTaskDetailFileNumber, "", processNumber, j, "", part, detail) &&
            !detail.TaskPath.empty()) {
            part.TaskPath = detail.TaskPath;
        }
    }
    return parts;
}

std::string Format(long value, const char* format) {
    return platform::FormatNumber(static_cast<double>(value), format);
}

}  // namespace

platform::Date SummaryCutOff(const platform::Date& today, const std::string& range) {
    const long index = RangeIndex(range);
    if (index == 0) return {1900, 1, 1};
    platform::Date cutOff{today.year - kRangeYears[static_cast<std::size_t>(index)], today.month, today.day};
    if (!platform::IsValidDate(cutOff.year, cutOff.month, cutOff.day)) cutOff.day = 28;
    return cutOff;
}

void CFKGRMRM(long resultFileNumber, long processNumber, const std::string& extension, const std::string& country,
              common::EnvRec& env, common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFKGRMRM");
    std::vector<common::EnvRec> parts = PartEnvironments(processNumber, env);
    msg.ProgressStride = kGatherStride;
    const std::string gathered = CountryDataFilePath(env, resultFileNumber, 0, 0, country, kGatheredNamePart, extension);
    common::CFFIL70M(gathered);

    const double cutOff = platform::ToDaySerial(
        SummaryCutOff(platform::Now().date, common::ReadSetting(common::SettingKeyPath("Kesen", "EnvSumRng"))));
    const long partCount = static_cast<long>(parts.size());
    long n = 0;
    std::vector<std::string> lines;
    for (long j = 1; j <= partCount; ++j) {
        msg.LabelText2 = "罫線鉤足判定結果の集約中　" + std::string("\r\n") + Format(j, "#0") + " / " + Format(partCount, "#0");
        msg.lngNumerator = j - 1;
        msg.lngDenominator = partCount;
        common::ShowProgress(msg);
        // A record before the cut-off is passed over before it is read.
        GatherPartRecords(msg, country, resultFileNumber, processNumber, j, extension,
                          parts[static_cast<std::size_t>(j - 1)], env,
                          [cutOff](std::string_view record) { return !(StoredJudgeDate(record) < cutOff); }, n, lines);
    }

    msg.lngNumerator = msg.lngDenominator;
    common::ShowProgress(msg);
    common::WriteSetting(common::SettingKeyPath("Counter", "CntTrlKgr" + country), Format(n, "0"));
    // An older sort-line file would otherwise stand for an empty gathering.
    common::DeleteDataFile(kSortLineFileNumber, 0, 0, "", "", env);
    common::CFTMP30M(msg, kSortLineFileNumber, 0, 0, "", "", env, lines);
}

void DeletePartResults(long resultFileNumber, long processNumber, common::EnvRec& env) {
    std::vector<common::EnvRec> parts = PartEnvironments(processNumber, env);
    for (std::size_t j = 0; j < parts.size(); ++j) {
        common::CFFIL76M(resultFileNumber, processNumber, static_cast<long>(j) + 1, parts[j]);
    }
}

}  // namespace analysis
