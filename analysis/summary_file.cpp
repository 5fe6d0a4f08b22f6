#include "analysis/summary_file.h"

#include <fstream>
#include <string_view>

#include "analysis/judge_result_file.h"
#include "analysis/kagi_line_rec.h"
#include "analysis/record_fields.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/procedure_guard.h"
#include "common/text/text_compare.h"
#include "platform/file_system.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/record_io.h"

namespace analysis {

namespace {

constexpr const char* kCrLf = "\r\n";

// Every stored field in stored order, for the writer and the reader alike.
template <class Rec, class Io>
void EachStoredField(Rec& rec, Io& io) {
    io(rec.MarketCode, 3);
    io(rec.LevelDigit, 1);
    io(rec.DirectionMark, 1);
    io(rec.TurnStateMark, 1);
    io(rec.YearKey, 4);
    io(rec.FurtherValuesA);
    io(rec.RowNumber);
    io(rec.FirstRecord);
    io(rec.LastRecord);
    io(rec.Rules);
    io(rec.FurtherValuesB);
    io(rec.RecordCount);
    io(rec.RisingCount);
    io(rec.FallingCount);
    io(rec.CountRate);
    io(rec.AbsoluteTotal);
    io(rec.RisingTotal);
    io(rec.FallingTotal);
    io(rec.AmountRate);
    io(rec.RisingByClass);
    io(rec.FallingByClass);
}

void ReadSummaryRecord(std::string_view bytes, KagiSummaryRec& rec) {
    platform::RecordReader in(bytes);
    FieldReader reader{in};
    EachStoredField(rec, reader);
}

std::int32_t NumericValue(const std::string& text) {
    const std::optional<double> value = platform::ParseDouble(text);
    return value ? platform::ToLong(*value) : 0;
}

void DeriveSummaryFields(KagiSummaryRec& rec) {
    rec.DirectionValue = NumericValue(rec.DirectionMark);
    rec.TurnStateValue = NumericValue(rec.TurnStateMark);
    rec.YearValue = NumericValue(rec.YearKey);
    rec.RisingTotalValue = platform::ToLong(rec.RisingTotal);
    rec.FallingTotalValue = platform::ToLong(-rec.FallingTotal);
    rec.AmountRateValue = platform::ToLong(rec.AmountRate * 10000LL);
}

bool Selected(const KagiSummaryRec& rec, const std::string& selection, std::int32_t familyMask) {
    return common::TextEquals(rec.LevelDigit, selection) &&
           (familyMask == 0 || (rec.Rules[kRuleBitsFamilies] & familyMask) > 0);
}

std::string CountText(long n, const char* format) { return platform::FormatNumber(static_cast<double>(n), format); }

}  // namespace

bool ReadSummaryRecordAt(const std::string& nameText, const std::string& country, common::EnvRec& env, long number,
                         KagiSummaryRec& rec) {
    const std::string path = CountryDataFilePath(env, kJudgeSummaryFileNumber, 0, 0, country, nameText,
                                                 common::CFFIL03M(kJudgeSummaryFileNumber));
    if (!platform::FileExists(path) || number < 1) return false;
    std::ifstream file(path, std::ios::binary);
    std::string bytes(kKagiSummaryRecSize, '\0');
    file.seekg(static_cast<std::streamoff>(number - 1) * static_cast<std::streamoff>(kKagiSummaryRecSize));
    if (!file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) return false;
    ReadSummaryRecord(bytes, rec);
    return true;
}

bool CFKRS11M(common::MSGRec& msg, const std::string& country, const std::string& selection, std::int32_t familyMask,
              long fileNumber, long procIdx, long taskSeq, const std::string& nameText, common::EnvRec& env,
              long& count, std::vector<KagiSummaryRec>& recs) {
    common::FunctionIdGuard guard("CFKRS11M");
    const std::string path = CountryDataFilePath(env, fileNumber, procIdx, taskSeq, country, nameText,
                                                 common::CFFIL03M(fileNumber));
    if (!platform::FileExists(path)) return false;

    const std::string bytes = common::ReadFileBytes(path);
    const long stride = common::AtLeastOne(msg.ProgressStride);
    recs.resize(static_cast<std::size_t>(count));
    long read = 0;
    for (std::size_t at = 0; at + kKagiSummaryRecSize <= bytes.size(); at += kKagiSummaryRecSize) {
        ++read;
        if (read % stride == 0) {
            msg.LabelText2 = std::string(kCrLf) + kCrLf + "鉤足法則集計結果の読込中　" + CountText(read, "###,###,##0") +
                             "件" + kCrLf + "対象データ　" + CountText(count, "###,###,##0") + "件";
            common::ShowProgress(msg);
        }
        KagiSummaryRec rec;
        ReadSummaryRecord(std::string_view(bytes).substr(at, kKagiSummaryRecSize), rec);
        if (!Selected(rec, selection, familyMask)) continue;
        ++count;
        DeriveSummaryFields(rec);
        recs.push_back(std::move(rec));
    }
    if (recs.empty()) recs.resize(1);
    return true;
}

void CFKRS52M(common::MSGRec& msg, common::EnvRec& env, long fileNumber, const std::string& country,
              const std::string& nameText, long mode, const std::string& extension,
              std::span<const KagiSummaryRec> recs) {
    common::FunctionIdGuard guard("CFKRS52M");
    if (recs.empty()) return;
    const std::string path = CountryDataFilePath(env, fileNumber, 0, 0, country, nameText, extension);
    if (msg.StageCount < 1) {
        msg.StageCount = 1;
        msg.StagesDone = 0;
    }
    const long n = static_cast<long>(recs.size());
    const long stride = common::LineProgressStep(n);
    msg.lngDenominator = n;
    platform::RecordWriter out;
    FieldWriter writer{out};
    for (long i = 1; i <= n; ++i) {
        EachStoredField(recs[static_cast<std::size_t>(i - 1)], writer);
        if (i % stride == 0) {
            msg.lngNumerator = i;
            msg.LabelText2 = std::string(kCrLf) + "鉤足法則集計結果の出力中　" + CountText(i, "###,##0") + " / " +
                             CountText(n, "###,##0");
            common::ShowProgress(msg);
        }
    }
    ReplaceOrAppend(path, mode, out.data());
    msg.lngNumerator = n;
    msg.LabelText2.clear();
    common::ShowProgress(msg);
}

}  // namespace analysis
