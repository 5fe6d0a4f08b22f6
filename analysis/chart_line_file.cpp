#include "analysis/chart_line_file.h"

#include <cstdint>

#include "analysis/record_fields.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/cp932.h"
#include "platform/date.h"
#include "platform/field_text.h"
#include "platform/file_system.h"
#include "platform/record_io.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace analysis {

namespace {

// Every stored field in stored order, for the writer and the reader alike, so
// the two can never disagree on the layout.
template <class Rec, class Io>
void EachStoredField(Rec& rec, Io& io) {
    io(rec.KagiDate);
    io(rec.KagiDate2);
    io(rec.Price);
    io(rec.Low);
    io(rec.High);
    io(rec.Volume);
    io(rec.VolumeSum);
    io(rec.Tick);
    io(rec.Width);
    io(rec.Move);
    io(rec.BreakPrice);
    io(rec.Direction);
    io(rec.Marked);
    io(rec.RuleHit);
    io(rec.SignalMark);
    io(rec.TurnState);
    io(rec.SignalLine);
    io(rec.PairLine);
    io(rec.PrevSignalLine);
    io(rec.RuleDate);
    io(rec.SignalExtraA);
    io(rec.SignalExtraB);
    io(rec.SignalPrice);
    io(rec.SignalGain);
    io(rec.SignalGainPct);
    io(rec.RuleCount);
    io(rec.SignalExtraC);
    io(rec.Features);
    io(rec.FeatureExtra);
    io(rec.HoleLines);
    io(rec.HolePriceA);
    io(rec.HolePriceB);
    io(rec.HoleRatio);
    io(rec.HoleExtra);
    io(rec.LineExtra);
    io(rec.LineLength);
    io(rec.RuleBits);
}

std::string RecordBytes(std::span<const KagiLineRec> recs) {
    platform::RecordWriter out;
    FieldWriter writer{out};
    for (const KagiLineRec& rec : recs) EachStoredField(rec, writer);
    return out.data();
}

// "yyyy/mm/dd" of a day serial. A serial outside the calendar (a damaged
// value) raises overflow rather than printing a date that never was.
std::string DateColumn(double serial) {
    const platform::Date date = platform::FromDaySerial(serial);
    if (!platform::IsValidDate(date.year, date.month, date.day)) {
        platform::RaiseError(platform::error_number::kOverflow, "CFKSN501");
    }
    return platform::DateText(date);
}

// A one-character field as stored, a blank when empty. A damaged record may
// hold a TAB or a line break there, which the line writes as a blank.
std::string FlagColumn(KagiFlag flag) {
    const char byte = flag.StoredByte();
    return platform::FromCp932(std::string_view(&byte, kFlagWidth)).text;
}

// "1" or "0" for each bit from `highest` down to `lowest`.
void AppendBitColumns(std::vector<std::string>& columns, std::int32_t word, std::int32_t highest,
                      std::int32_t lowest) {
    for (std::int32_t bit = highest; bit >= lowest; bit >>= 1) columns.emplace_back((word & bit) != 0 ? "1" : "0");
}

void AppendEmptyColumns(std::vector<std::string>& columns, std::size_t count) {
    columns.resize(columns.size() + count);
}

std::string ExportLine(const KagiLineRec& rec) {
    std::vector<std::string> c;
    c.reserve(kChartLineExportColumns);
    const auto money = [&c](const platform::Currency& value) { c.push_back(value.ToText()); };
    const auto number = [&c](std::int32_t value) { c.push_back(std::to_string(value)); };

    c.push_back(DateColumn(rec.KagiDate));
    c.push_back(DateColumn(rec.KagiDate2));
    for (const platform::Currency* value : {&rec.Price, &rec.Low, &rec.High, &rec.Volume, &rec.VolumeSum, &rec.Tick,
                                            &rec.Width, &rec.Move, &rec.BreakPrice}) {
        money(*value);
    }
    for (const KagiFlag flag : {rec.Direction, rec.Marked, rec.RuleHit, rec.SignalMark, rec.TurnState}) {
        c.push_back(FlagColumn(flag));
    }
    number(rec.PrevSignalLine);
    number(rec.SignalLine);
    number(rec.PairLine);

    c.push_back(DateColumn(rec.RuleDate));
    for (const platform::Currency* value :
         {&rec.SignalExtraA, &rec.SignalExtraB, &rec.SignalPrice, &rec.SignalGain, &rec.SignalGainPct}) {
        money(*value);
    }
    number(rec.RuleCount);
    money(rec.SignalExtraC);

    number(rec.Features);
    AppendBitColumns(c, rec.Features, 8192, 1);
    AppendEmptyColumns(c, 6);

    for (const platform::Currency& value : rec.FeatureExtra) money(value);
    number(rec.HoleLines);
    money(rec.HolePriceA);
    money(rec.HolePriceB);
    money(rec.HoleRatio);
    for (const std::int32_t value : rec.HoleExtra) number(value);
    for (const platform::Currency& value : rec.LineExtra) money(value);
    money(rec.LineLength);
    AppendEmptyColumns(c, 5);

    AppendBitColumns(c, rec.RuleBits[kRuleBitsFamilies], kFamilyRosa, kFamilyRoa);
    AppendEmptyColumns(c, 2);
    AppendBitColumns(c, rec.RuleBits[kRuleBitsRosa], 512, 32);
    AppendBitColumns(c, rec.RuleBits[kRuleBitsRoku], 512, 128);
    AppendBitColumns(c, rec.RuleBits[kRuleBitsRoe], 512, 16);
    AppendBitColumns(c, rec.RuleBits[kRuleBitsRoa], 512, 128);
    AppendEmptyColumns(c, 3);

    std::string line;
    for (std::size_t n = 0; n < c.size(); ++n) {
        if (n > 0) line += '\t';
        platform::AppendFieldText(line, c[n]);
    }
    return line;
}

void CFKSN503(common::EnvRec& env, const marketdata::Key& key, long fileNumber, const std::string& suffix,
              const std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("CFKSN503");
    common::CFFIL30M(lines, marketdata::CFKSN54M(env, key, fileNumber, suffix, ".txt"));
}

}  // namespace

void CFKSN52M(common::EnvRec& env, const marketdata::Key& key, long fileNumber, const std::string& suffix,
              const std::string& extension, std::span<const KagiLineRec> recs) {
    common::FunctionIdGuard guard("CFKSN52M");
    if (recs.empty()) return;
    // Replaced in one step, so the chart never reads half a file.
    platform::AtomicReplace(marketdata::CFKSN54M(env, key, fileNumber, suffix, extension), RecordBytes(recs));
    CFKSN50M(env, key, fileNumber, suffix, recs);
}

void CFKSN50M(common::EnvRec& env, const marketdata::Key& key, long fileNumber, const std::string& suffix,
              std::span<const KagiLineRec> recs) {
    common::FunctionIdGuard guard("CFKSN50M");
    if (recs.empty()) return;
    std::vector<std::string> lines;
    CFKSN501(recs, lines);
    CFKSN503(env, key, fileNumber, suffix, lines);
}

void CFKSN501(std::span<const KagiLineRec> recs, std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("CFKSN501");
    lines.clear();
    lines.reserve(recs.size());
    for (const KagiLineRec& rec : recs) lines.push_back(ExportLine(rec));
}

bool CFKSN10M(common::EnvRec& env, const marketdata::Key& key, const std::string& suffix, const std::string& extension,
              std::vector<KagiLineRec>& recs) {
    common::FunctionIdGuard guard("CFKSN10M");
    const std::string path = marketdata::CFKSN54M(env, key, marketdata::kChartLineFileNumber, suffix, extension);
    if (!platform::FileExists(path)) return false;
    const std::string bytes = common::ReadFileBytes(path);
    const std::size_t count = bytes.size() / kKagiLineRecSize;
    recs.assign(count, KagiLineRec{});
    platform::RecordReader in(bytes);
    FieldReader reader{in};
    for (KagiLineRec& rec : recs) EachStoredField(rec, reader);
    if (in.remaining() > 0) {
        const common::RunState& state = common::State();
        common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                              "鉤足データの末尾の不完全なレコードを読み飛ばしました。　" + path + "　" +
                                  std::to_string(count + 1) + "件目　" + std::to_string(in.remaining()) + "バイト");
    }
    return true;
}

}  // namespace analysis
