#include <cstring>
#include <string_view>
#include <vector>

#include "analysis/judge_aggregation.h"
#include "analysis/judge_record_io.h"
#include "analysis/judge_result_file.h"
#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/tab_line_sort.h"
#include "common/files/text_file_io.h"
#include "common/procedure_guard.h"
#include "common/settings/settings.h"
#include "platform/file_system.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

constexpr std::size_t kSequenceDigits = 8;

std::string Format(long value, const char* format) {
    return platform::FormatNumber(static_cast<double>(value), format);
}

[[noreturn]] void RaiseDamaged(const std::string& what) {
    throw platform::TrappedError(platform::error_number::kTypeMismatch, "鉤足判定結果のソートデータが不正です。　" + what,
                                 "CFKGRSTM");
}

// Sorted position of every sequence number (index 0 unused), from the sorted
// gather lines; each line ends in the eight digits of its sequence number.
std::vector<long> SortedPositions(const std::vector<std::string>& lines) {
    const long count = static_cast<long>(lines.size());
    std::vector<long> position(lines.size() + 1, 0);
    for (long p = 1; p <= count; ++p) {
        const std::string& line = lines[static_cast<std::size_t>(p - 1)];
        const std::optional<double> s =
            line.size() < kSequenceDigits ? std::nullopt
                                          : platform::ParseDouble(std::string_view(line).substr(line.size() - kSequenceDigits));
        if (!s || *s < 1 || *s > count || position[static_cast<std::size_t>(*s)] != 0) RaiseDamaged(line);
        position[static_cast<std::size_t>(*s)] = p;
    }
    return position;
}

long BlockOf(long position) { return (position - 1) / kSortBlockSize + 1; }

// The gathered file, the block files an older sort may have left, and the
// judgement-result file.
struct SortFiles {
    common::EnvRec& env;
    std::string country;
    std::string extension = common::CFFIL03M(kJudgeResultFileNumber);

    std::string Path(const std::string& namePart, const std::string& ext) const {
        return CountryDataFilePath(env, kJudgeResultFileNumber, 0, 0, country, namePart, ext);
    }
    std::string Gathered() const { return Path(kGatheredNamePart, extension); }
    std::string Block(long w) const { return Path(kGatheredNamePart + Format(w, "00"), extension); }
    std::string ResultBase() const { return Path("", ""); }
};

// Puts every gathered record at its sorted position, with its sequence and
// block numbers set, and writes them as the judgement-result file, which
// replaces the old file once complete. The records are moved as the bytes
// they are stored as, in memory: a market's results are some tens of
// megabytes at most.
void WriteSortedResults(common::MSGRec& msg, const SortFiles& files, const std::vector<long>& position) {
    const std::string gathered = common::ReadFileBytes(files.Gathered());
    const long count = static_cast<long>(position.size()) - 1;
    if (gathered.size() != static_cast<std::size_t>(count) * kKagiJudgeRecSize) RaiseDamaged(files.Gathered());
    std::string sorted(gathered.size(), '\0');
    const long stride = common::AtLeastOne(count / 100);
    for (long r = 1; r <= count; ++r) {
        const long p = position[static_cast<std::size_t>(r)];
        char* slot = sorted.data() + static_cast<std::size_t>(p - 1) * kKagiJudgeRecSize;
        std::memcpy(slot, gathered.data() + static_cast<std::size_t>(r - 1) * kKagiJudgeRecSize, kKagiJudgeRecSize);
        StoreSortPlace(slot, static_cast<std::int32_t>(p), static_cast<std::int32_t>(BlockOf(p)));
        if (r % stride == 0) {
            msg.LabelText4 = "処理件数　" + Format(r, "###,###,##0") + "件";
            common::ShowProgress(msg);
        }
    }
    const std::string pending = files.ResultBase() + ".tmp";
    platform::AtomicReplace(pending, sorted);
    common::CFFIL41M(files.ResultBase(), ".tmp", files.extension);
}

}  // namespace

void CFKGRSTM(common::MSGRec& msg, common::EnvRec& env, const std::string& country) {
    common::FunctionIdGuard guard("CFKGRSTM");
    msg.StageCount = kAggregationStageCount;
    msg.StagesDone = 0;
    msg.LabelText2 = std::string("罫線鉤足判定結果のソート準備中") + "\r\n";
    const long expected = common::ReadSettingLong(common::SettingKeyPath("Counter", "CntTrlKgr" + country));
    std::vector<std::string> lines;
    if (!common::CFTMP10M(msg, kSortLineFileNumber, 0, 0, "", "", expected, env, lines)) {
        // A gathering that found nothing leaves no results, rather than the
        // previous run's looking current.
        if (expected == 0) {
            const SortFiles files{env, country};
            ReplaceOrAppend(files.Path("", files.extension), 1, "");
            common::CFFIL70M(files.Gathered());
        }
        return;
    }

    msg.LabelText2 = std::string("データのソート中") + "\r\n";
    common::SortKeyRec keys;
    keys.KeyCount = 1;
    keys.KeyStart[1] = 1;
    keys.KeyLength[1] = static_cast<long>(platform::CharCount(lines.front()));
    common::SortLinesByKeysWithProgress(msg, lines, keys);

    const long count = static_cast<long>(lines.size());
    const long blockCount = BlockOf(count);
    const SortFiles files{env, country};
    msg.LabelText2 = std::string("罫線鉤足判定結果の出力中") + "\r\n";
    WriteSortedResults(msg, files, SortedPositions(lines));

    for (long w = 1; w <= blockCount; ++w) common::CFFIL70M(files.Block(w));
    common::DeleteDataFile(kSortLineFileNumber, 0, 0, "", "", env);
    common::CFFIL70M(files.Gathered());
    msg.LabelText3.clear();
    msg.LabelText4.clear();
    msg.lngNumerator = msg.lngDenominator;
    common::ShowProgress(msg);
}

}  // namespace analysis
