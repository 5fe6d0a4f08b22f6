#include "marketdata/code_master.h"

#include <optional>
#include <span>

#include "common/files/data_file.h"
#include "common/files/file_registry.h"
#include "common/files/key_layout.h"
#include "common/files/master_merge.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "marketdata/line_order.h"
#include "platform/date_parse.h"
#include "platform/field_text.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

// Fields 189 to 198 are read only from lines of more than 190 fields.
constexpr long kOptionalFieldsFrom = 191;

// Visits fields 17 to 198 of the record in line order, telling the visitor
// each member's line type.
template <class Visitor>
void VisitLineFields(CdmRec& rec, Visitor& v) {
    v.Fixed(rec.Attr1, 1, "Attr1");
    v.Fixed(rec.Attr2, 1, "Attr2");
    v.Fixed(rec.Attr3, 10, "Attr3");
    v.Fixed(rec.SeqText, 4, "SeqText");
    v.Text(rec.Text1);
    v.Text(rec.Text2);
    v.Text(rec.Text3);
    for (std::size_t i = 1; i < rec.ProcMark.size(); ++i) {
        v.Text(rec.ProcMark[i].MarkFlag);
        v.Text(rec.ProcMark[i].MarkDate);
        v.Text(rec.ProcMark[i].MarkTime);
    }
    for (std::size_t i = 1; i < rec.Term.size(); ++i) {
        v.Text(rec.Term[i].FirstDate);
        v.Text(rec.Term[i].LastDate);
    }
    for (std::size_t i = 1; i < rec.RptText.size(); ++i) v.Text(rec.RptText[i]);
    v.Fixed(rec.Attr4, 10, "Attr4");
    v.Fixed(rec.Attr5, 1, "Attr5");
    v.Fixed(rec.Attr6, 1, "Attr6");
    for (std::size_t i = 1; i <= 5; ++i) v.Long(rec.Num[i]);
    v.Day(rec.ValueDate);
    v.WholeAmount(rec.Amount[1]);
    v.WholeAmount(rec.Amount[2]);
    for (std::size_t i = 3; i <= 5; ++i) v.Amount(rec.Amount[i]);
    v.Long(rec.Num[6]);
    v.WholeAmount(rec.Amount[6]);
    for (std::size_t i = 1; i < rec.NumGroup.size(); ++i) {
        for (std::int32_t& n : rec.NumGroup[i].Nums) v.Long(n);
        for (platform::Currency& a : rec.NumGroup[i].Amounts) v.Amount(a);
    }
    for (std::size_t i = 1; i < rec.InfoText.size(); ++i) v.Text(rec.InfoText[i]);
}

// Takes the fields of a 1-based field array from position 17 on; past
// `lastPosition` every member is emptied. The first value that does not
// convert is kept as the problem.
class FieldReader {
public:
    FieldReader(std::span<const std::string_view> fields, long lastPosition)
        : fields_(fields), lastPosition_(lastPosition) {}

    void Fixed(std::string& member, std::size_t width, std::string_view name) {
        member = FitField(Next(), width, name);
    }
    void Text(std::string& member) { member = Next(); }
    void Long(std::int32_t& member) {
        Take([&](std::string_view text) {
            const auto value = platform::ParseDouble(text);
            if (value) member = platform::ToLong(*value);
            return value.has_value();
        });
    }
    void WholeAmount(platform::Currency& member) {
        Take([&](std::string_view text) {
            const auto value = platform::ParseDouble(text);
            if (value) member = platform::Currency(platform::ToLong(*value));
            return value.has_value();
        });
    }
    void Amount(platform::Currency& member) {
        Take([&](std::string_view text) {
            const auto value = platform::ParseCurrency(text);
            if (value) member = *value;
            return value.has_value();
        });
    }
    void Day(platform::Date& member) {
        Take([&](std::string_view text) {
            const auto value = platform::ParseDate(text);
            if (value) member = *value;
            return value.has_value();
        });
    }

    const std::string& problem() const { return problem_; }

private:
    std::string_view Next() {
        if (position_ > lastPosition_) {
            ++position_;
            return {};
        }
        return NextField(fields_, position_);
    }
    // Converts the next field; text that is no number, or one out of range,
    // refuses the line.
    template <class Convert>
    void Take(Convert&& convert) {
        const std::string_view text = Next();
        try {
            if (!convert(text)) Refuse(text);
        } catch (const platform::TrappedError&) {
            Refuse(text);
        }
    }
    void Refuse(std::string_view text) {
        if (problem_.empty()) {
            problem_ = "数値項目が不正です（項目" + std::to_string(position_ - 1) + "=" + std::string(text) + "）";
        }
    }

    std::span<const std::string_view> fields_;
    long position_ = kKeyFieldCount + 1;
    long lastPosition_;
    std::string problem_;
};

class FieldWriter {
public:
    explicit FieldWriter(std::string& line) : line_(line) {}

    void Fixed(std::string& member, std::size_t width, std::string_view name) {
        Put(FitField(member, width, name));
    }
    void Text(std::string& member) { Put(member); }
    void Long(std::int32_t& member) { Put(std::to_string(member)); }
    void WholeAmount(platform::Currency& member) { Put(member.ToText()); }
    void Amount(platform::Currency& member) { Put(member.ToText()); }
    void Day(platform::Date& member) { Put(platform::DateText(member)); }

private:
    void Put(std::string_view text) {
        line_ += '\t';
        platform::AppendFieldText(line_, text);
    }
    std::string& line_;
};

// The last four digits of the sequence number formatted "0000000000".
std::string SeqTextOf(std::int32_t seqNo) {
    return platform::RightChars(platform::FormatNumber(static_cast<double>(seqNo), "0000000000"), 4);
}

std::string CounterPath(std::string_view key) { return common::SettingKeyPath("Counter", key); }

struct Filters {
    const std::string& market;
    const std::string& category;
    const std::string& flag;

    bool empty() const { return market.empty() && category.empty() && flag.empty(); }
};

// Filters 1 to 3: category (with "2000" also keeping "1000" and "0010"),
// the level-"0060" name under category filter "0060", and the flag.
bool PassesCategoryAndFlag(const CdmRec& rec, const Filters& filters) {
    const std::string& category = rec.Key.Category;
    const bool categoryOk = filters.category.empty() || category == filters.category ||
                            (filters.category == "2000" && (category == "1000" || category == "0010"));
    if (!categoryOk) return false;
    if (filters.category == "0060" && platform::TrimBlanks(rec.InfoText[51]).empty()) return false;
    return filters.flag.empty() || filters.flag == rec.Key.Flag1;
}

enum class MarketTest { OnRecord, OnLineHead };

// Parses the non-blank lines into `tbl` in the given order, keeping those
// that pass the filters; a line that cannot be read is logged with its line
// number and left out. `beforeLine` is called with the count of lines done.
template <class BeforeLine>
bool KeepRecords(const std::vector<std::string>& lines, const std::vector<std::size_t>& order,
                 const std::string& path, const Filters& filters, MarketTest marketTest, CdmTbl& tbl,
                 BeforeLine&& beforeLine) {
    tbl.clear();
    // Reserved, not filled: the records are read in place, each into a fresh
    // one, so none is copied or moved (a record holds some two hundred
    // texts). A record that is not kept is dropped again.
    tbl.reserve(lines.size());
    std::string problem;
    for (std::size_t j = 0; j < order.size(); ++j) {
        beforeLine(static_cast<long>(j + 1));
        const std::string& line = lines[order[j]];
        if (platform::TrimBlanks(line).empty()) continue;
        if (marketTest == MarketTest::OnLineHead && !filters.market.empty() &&
            platform::TrimBlanks(platform::LeftChars(line, 3)) != filters.market) {
            continue;
        }
        CdmRec& rec = tbl.emplace_back();
        if (!LineToCdmRec(line, rec, problem)) {
            tbl.pop_back();
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "コードマスターの読めない行を読み飛ばしました。　" + path + "　" +
                                      std::to_string(order[j] + 1) + "行目　" + problem);
            continue;
        }
        const bool marketKept =
            marketTest != MarketTest::OnRecord || filters.market.empty() || rec.Key.Market == filters.market;
        if (!marketKept || !PassesCategoryAndFlag(rec, filters)) tbl.pop_back();
    }
    return !tbl.empty();
}

void NextStage(common::MSGRec& msg) {
    ++msg.StagesDone;
    msg.lngNumerator = 0;
    common::ShowStagedProgress(msg);
}

}  // namespace

void InitCdmRec(CdmRec& rec, std::int32_t seqNo) {
    rec = CdmRec{};
    InitKey("", "", "", "", rec.Key);
    rec.Attr1 = FitField("", 1, "Attr1");
    rec.Attr2 = FitField("", 1, "Attr2");
    rec.Attr3 = FitField("", 10, "Attr3");
    rec.Attr4 = FitField("", 10, "Attr4");
    rec.Attr5 = FitField("", 1, "Attr5");
    rec.Attr6 = FitField("", 1, "Attr6");
    rec.SeqNo = seqNo;
    rec.SeqText = SeqTextOf(seqNo);
}

bool LineToCdmRec(std::string_view line, CdmRec& rec, std::string& problem) {
    problem.clear();
    const std::vector<std::string_view> pieces = SplitTabs(line);
    const long count = static_cast<long>(pieces.size());
    if (count < kCdmMinFieldCount || (count >= kOptionalFieldsFrom && count != kCdmFieldCount)) {
        problem = "項目数が不正です（項目数=" + std::to_string(count) + "）";
        return false;
    }
    const std::vector<std::string_view> fields = FieldsToArray(pieces);
    long position = 1;
    KeyFromFields(fields, position, rec.Key);
    FieldReader reader(fields, count >= kOptionalFieldsFrom ? kCdmFieldCount : kCdmMinFieldCount);
    VisitLineFields(rec, reader);
    problem = reader.problem();
    return problem.empty();
}

void CdmRecToLine(CdmRec& rec, std::string& line) {
    const platform::DateTime now = platform::Now();
    rec.Key.UpdateDate = platform::DateText(now.date);
    rec.Key.UpdateTime = platform::TimeText(now.hour, now.minute, now.second);
    rec.SeqText = SeqTextOf(rec.SeqNo);
    KeyToLine(rec.Key, line);
    FieldWriter writer(line);
    VisitLineFields(rec, writer);
}

bool CFCDM10M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
              const std::string& marketFilter, const std::string& categoryFilter, const std::string& flagFilter,
              common::EnvRec& env, const common::SortKeyRec& sortKeys, CdmTbl& tbl) {
    common::FunctionIdGuard guard("CFCDM10M");
    std::string path;
    if (!common::FindDataFile(fileNumber, procIdx, taskSeq, namePart, "", env, path)) return false;
    std::vector<std::string> lines;
    common::CFFIL20M(path, lines);
    return KeepRecords(lines, SortedLineOrder(lines, sortKeys), path, {marketFilter, categoryFilter, flagFilter},
                       MarketTest::OnRecord, tbl, [](long) {});
}

bool CFCDM11M(common::MSGRec& msg, long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
              const std::string& marketFilter, const std::string& categoryFilter, const std::string& flagFilter,
              common::EnvRec& env, const common::SortKeyRec& sortKeys, CdmTbl& tbl) {
    common::FunctionIdGuard guard("CFCDM11M");
    std::string path;
    if (!common::FindDataFile(fileNumber, procIdx, taskSeq, namePart, "", env, path)) return false;
    const long expected = common::ReadSettingLongDefaultOne(CounterPath("CntTrlCdm"));
    if (msg.StageCount < 1) {
        msg.StageCount = 3;
        msg.StagesDone = 0;
    }
    msg.DisplayOn = true;

    std::vector<std::string> lines;
    common::CFFIL25M(msg, expected, lines, path);
    const Filters filters{marketFilter, categoryFilter, flagFilter};
    const long count = static_cast<long>(lines.size());
    if (filters.empty()) {
        common::WriteSetting(CounterPath("CntTrlCdm"), platform::FormatNumber(static_cast<double>(count), "0"));
    }

    NextStage(msg);
    const std::vector<std::size_t> order = SortedLineOrder(lines, sortKeys);

    const long step = common::LineProgressStep(count);
    NextStage(msg);
    msg.lngDenominator = count;
    const bool kept = KeepRecords(lines, order, path, filters, MarketTest::OnLineHead, tbl, [&](long j) {
        if (j % step == 0) {
            msg.lngNumerator = j;
            common::ShowStagedProgress(msg);
        }
    });
    msg.lngNumerator = count;
    ++msg.StagesDone;
    common::ShowStagedProgress(msg);
    return kept;
}

bool WriteCodeMaster(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
                     const std::string& extension, long count, common::EnvRec& env, std::span<CdmRec> tbl) {
    common::FunctionIdGuard guard("WriteCodeMaster");
    if (count <= 0) return false;
    if (static_cast<std::size_t>(count) > tbl.size()) {
        RaiseSubscriptOutOfRange("WriteCodeMaster");
    }
    std::vector<std::string> lines(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < lines.size(); ++i) CdmRecToLine(tbl[i], lines[i]);
    common::SortKeyRec layout;
    common::SetKeyLayout3(layout);
    common::SortLinesByKeys(lines, layout);
    common::CFFIL30M(lines, common::BuildDataFilePath(fileNumber, procIdx, taskSeq, namePart, extension, env));
    return true;
}

void CFCDMR0M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart, common::EnvRec& env,
              common::MSGRec& msg, std::vector<std::string>& lines) {
    common::FunctionIdGuard guard("CFCDMR0M");
    common::RecoverInCompanyOrder(fileNumber, procIdx, taskSeq, namePart, ".tmp", ".txt", env, msg, lines);
    // Nothing pending leaves the master, and so its counters, as they were.
    if (!lines.empty() && namePart.empty() && procIdx == 0 && taskSeq == 0) {
        common::WriteSetting(CounterPath("CntTrlCdm"),
                             platform::FormatNumber(static_cast<double>(lines.size()), "0"));
        common::WriteSetting(CounterPath("DateTrlCdm"), platform::CompactStamp(platform::Now()));
    }
}

void CFCDMR1M(long fileNumber, long procIdx, long taskSeq, const std::string& namePart, const std::string& masterExt,
              const std::string& workExt, common::EnvRec& env, common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFCDMR1M");
    common::SortKeyRec layout;
    common::SetKeyLayout3(layout);
    common::MergeKeyRec keys;
    common::CopyKeyLayout(layout, keys);
    keys.KeepMaster = "1";
    const std::string base = common::CFFIL02M({fileNumber, procIdx, taskSeq, namePart, ""}, env);
    common::MergeCounterRec counter;
    std::vector<std::string> lines;
    common::CFRCV21M(base, workExt, masterExt, msg, keys, counter, lines);
}

void RefreshCodeMaster(long fileNumber, long procIdx, long taskSeq, const std::string& namePart,
                       common::EnvRec& env, common::MSGRec& msg) {
    std::vector<std::string> lines;
    CFCDMR0M(fileNumber, procIdx, taskSeq, namePart, env, msg, lines);
}

}  // namespace marketdata
