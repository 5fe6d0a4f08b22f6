#include "analysis/judge_result_file.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <utility>

#include "analysis/judge_aggregation.h"
#include "analysis/judge_list.h"
#include "analysis/judge_record_io.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/procedure_guard.h"
#include "common/settings/settings.h"
#include "common/text/text_compare.h"
#include "platform/file_system.h"
#include "platform/number_format.h"

namespace analysis {

namespace {

const std::array<std::pair<const char*, const char*>, 8> kCountryNames{{
    {"JPN", "国内"},
    {"CHN", "中国"},
    {"USA", "米国"},
    {"HKG", "香港"},
    {"TWN", "台湾"},
    {"GBR", "英国"},
    {"XEU", "欧州"},
    {"ALL", "全国"},
}};

constexpr const char* kCrLf = "\r\n";

std::string CountText(long n) { return platform::FormatNumber(static_cast<double>(n), "###,###,##0"); }

void ShowReadCount(common::MSGRec& msg, long done) {
    msg.lngNumerator = done;
    msg.LabelText2 = std::string(kCrLf) + "鉤足法則判定結果の読込中　" + CountText(done) + "件";
    common::ShowProgress(msg);
}

void FinishProgress(common::MSGRec& msg) {
    msg.lngNumerator = msg.lngDenominator;
    msg.LabelText2.clear();
    common::ShowProgress(msg);
}

// Reads the file of a whole-file reader into `out` after `count` (mode 1:
// from the start), calling `show` before each record whose count so far is a
// multiple of `stride`, and `store` for each record with its new count. The
// records are read by `read` in file order, one at a time into a fresh
// record; a trailing part record (an interrupted append) is not a record.
template <class T, class Read, class Show, class Store>
void ReadIntoArray(const std::string& path, long mode, long stride, long& count, std::vector<T>& out, Read read,
                   Show show, Store store) {
    const std::string bytes = common::ReadFileBytes(path);
    const std::size_t records = bytes.size() / kKagiJudgeRecSize;
    platform::RecordReader in(bytes);
    if (mode == 1) count = 0;
    out.resize(static_cast<std::size_t>(count));
    out.reserve(out.size() + records);
    KagiJudgeRec rec;
    for (std::size_t r = 0; r < records; ++r) {
        // Fields a read does not set must not carry the record before.
        rec = KagiJudgeRec{};
        read(in, rec);
        if (count % stride == 0) show(count);
        ++count;
        DeriveJudgeList(rec, count);
        out.push_back(store(rec));
    }
    if (out.empty()) out.resize(1);
}

}  // namespace

std::string CountryDataFilePath(common::EnvRec& env, long fileNumber, long procIdx, long taskSeq,
                                const std::string& country, const std::string& nameText,
                                const std::string& extension) {
    std::string namePart = nameText;
    for (const auto& [code, display] : kCountryNames) {
        if (common::TextEquals(country, code)) {
            namePart = std::string("（") + display + "）" + nameText;
            break;
        }
    }
    return common::CFFIL02M({fileNumber, procIdx, taskSeq, namePart, extension}, env);
}

void AppendJudgeRecords(const std::string& path, std::span<const KagiJudgeRec> recs) {
    common::AppendFileBytes(path, JudgeRecordBytes(recs));
}

void ReplaceOrAppend(const std::string& path, long mode, std::string_view bytes) {
    if (mode == 1) {
        platform::AtomicReplace(path, bytes);
    } else {
        common::AppendFileBytes(path, bytes);
    }
}

bool ReadJudgeResultList(common::MSGRec& msg, long procIdx, long taskSeq, const std::string& country,
                         const std::string& nameText, common::EnvRec& env, long first, long last, long& count,
                         std::vector<KagiJudgeRec>& recs) {
    common::FunctionIdGuard guard("ReadJudgeResultList");
    const std::string path = CountryDataFilePath(env, kJudgeResultFileNumber, procIdx, taskSeq, country, nameText,
                                                 common::CFFIL03M(kJudgeResultFileNumber));
    if (!platform::FileExists(path)) return false;

    const long wanted = std::max(0L, last - first + 1);
    msg.lngDenominator = wanted;
    msg.lngNumerator = 0;
    msg.LabelText2 = std::string(kCrLf) + kCrLf + "鉤足法則判定結果の読込中";
    common::ShowProgress(msg);

    recs.clear();
    recs.reserve(static_cast<std::size_t>(wanted));
    std::ifstream file(path, std::ios::binary);
    std::string bytes(kKagiJudgeRecSize, '\0');
    for (long number = std::max(first, 1L); number <= last; ++number) {
        msg.lngNumerator = static_cast<long>(recs.size());
        file.seekg(static_cast<std::streamoff>(number - 1) * static_cast<std::streamoff>(kKagiJudgeRecSize));
        if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) break;
        platform::RecordReader in(bytes);
        ReadJudgeRecord(in, recs.emplace_back());
    }
    count = static_cast<long>(recs.size());
    const bool any = count > 0;
    if (!any) recs.resize(1);
    FinishProgress(msg);
    return any;
}

bool CFKGR13M(common::MSGRec& msg, const std::string& country, long mode, long fileNumber, long procIdx, long taskSeq,
              const std::string& nameText, const std::string& extension, common::EnvRec& env, long& count,
              std::vector<KagiJudgeList>& lists) {
    common::FunctionIdGuard guard("CFKGR13M");
    const std::string path = CountryDataFilePath(env, fileNumber, procIdx, taskSeq, country, nameText, extension);
    if (!platform::FileExists(path)) return false;

    // The last gathering's count stands in for the file's, which is not known
    // before the read.
    msg.lngDenominator = common::ReadSettingLongDefaultOne(common::SettingKeyPath("Counter", "CntTrlKgr" + country));
    const long stride = common::LineProgressStep(msg.lngDenominator);
    if (msg.StageCount < 1) msg.StageCount = 1;
    const auto show = [&msg](long done) { ShowReadCount(msg, done); };
    ReadIntoArray(path, mode, stride, count, lists, ReadJudgeListFields, show, [](KagiJudgeRec& rec) {
        CopyStoredIntoList(rec);
        return std::move(rec.List);
    });
    FinishProgress(msg);
    return true;
}

bool CFKGR10M(common::MSGRec& msg, const std::string& country, long mode, long fileNumber, long procIdx, long taskSeq,
              const std::string& nameText, const std::string& extension, common::EnvRec& env, long& count,
              std::vector<KagiJudgeRec>& recs) {
    common::FunctionIdGuard guard("CFKGR10M");
    const std::string path = CountryDataFilePath(env, fileNumber, procIdx, taskSeq, country, nameText, extension);
    if (!platform::FileExists(path)) return false;

    const long stride = common::AtLeastOne(msg.ProgressStride);
    const auto show = [&msg](long done) { ShowReadCount(msg, done); };
    ReadIntoArray(path, mode, stride, count, recs, ReadJudgeRecord, show,
                  [](KagiJudgeRec& rec) { return std::move(rec); });
    FinishProgress(msg);
    return true;
}

void GatherPartRecords(common::MSGRec& msg, const std::string& country, long fileNumber, long procIdx, long taskSeq,
                       const std::string& extension, common::EnvRec& partEnv, common::EnvRec& env,
                       const std::function<bool(std::string_view)>& keep, long& n, std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("GatherPartRecords");
    const std::string path = CountryDataFilePath(partEnv, fileNumber, procIdx, taskSeq, country, "", extension);
    if (!platform::FileExists(path)) return;

    const std::string bytes = common::ReadFileBytes(path);
    const std::size_t records = bytes.size() / kKagiJudgeRecSize;
    const long stride = common::AtLeastOne(msg.ProgressStride);
    std::string gathered;
    long kept = 0;
    KagiJudgeRec rec;
    for (std::size_t r = 0; r < records; ++r) {
        const std::string_view stored = std::string_view(bytes).substr(r * kKagiJudgeRecSize, kKagiJudgeRecSize);
        if (!keep(stored)) continue;
        if (kept % stride == 0) ShowReadCount(msg, kept);
        ++kept;
        ++n;
        // Of the record only what its sort text is made of is read.
        rec = KagiJudgeRec{};
        platform::RecordReader in(stored);
        ReadJudgeListFields(in, rec);
        DeriveJudgeList(rec, n);
        lines.push_back(std::move(rec.List.GatherLine));
        gathered.append(stored);
        StoreSequenceNumber(gathered.data() + gathered.size() - kKagiJudgeRecSize, static_cast<std::int32_t>(n));
    }
    FinishProgress(msg);
    if (!gathered.empty()) {
        msg.LabelText2 = std::string(kCrLf) + kCrLf + "罫線鉤足判定結果の出力中　";
        ReplaceOrAppend(CountryDataFilePath(env, fileNumber, 0, 0, country, kGatheredNamePart, extension), 2, gathered);
        FinishProgress(msg);
    }
}

void CFKGR52M(common::MSGRec& msg, common::EnvRec& env, long fileNumber, long mode, const std::string& country,
              const std::string& nameText, const std::string& extension, std::span<const KagiJudgeRec> recs) {
    common::FunctionIdGuard guard("CFKGR52M");
    if (recs.empty()) return;
    const std::string path = CountryDataFilePath(env, fileNumber, 0, 0, country, nameText, extension);

    const long n = static_cast<long>(recs.size());
    const long stride = common::LineProgressStep(n);
    msg.lngDenominator = n;
    msg.LabelText2 = std::string(kCrLf) + kCrLf + "罫線鉤足判定結果の出力中　";
    platform::RecordWriter out;
    for (long i = 1; i <= n; ++i) {
        WriteJudgeRecord(out, recs[static_cast<std::size_t>(i - 1)]);
        if (i % stride == 0) {
            msg.lngNumerator = i;
            common::ShowProgress(msg);
        }
    }
    ReplaceOrAppend(path, mode, out.data());
    FinishProgress(msg);
}

}  // namespace analysis
