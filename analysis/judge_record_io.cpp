#include "analysis/judge_record_io.h"

#include <array>
#include <cstdint>

#include "analysis/record_fields.h"

namespace analysis {

namespace {

// Every stored field in stored order, for the writer and the reader alike, so
// the two can never disagree on the layout.
template <class Rec, class Io>
void EachStoredField(Rec& rec, Io& io) {
    io(rec.Key);
    io(rec.IndexValue);
    io(rec.FurtherLong);
    io(rec.LevelRows);
    io(rec.JudgeDate);
    io(rec.Direction);
    io(rec.TurnState);
    io(rec.CombinedRules);
    io(rec.SignalRules);
    io(rec.TurnRules);
    io(rec.Signal);
    io(rec.Turn);
    io(rec.SequenceNumber);
    io(rec.BlockNumber);
}

// Where the judgement date lies in a stored record: after the fields stored
// before it, as the writer lays them out.
std::size_t JudgeDateOffset() {
    const KagiJudgeRec rec;
    platform::RecordWriter out;
    FieldWriter writer{out};
    writer(rec.Key);
    writer(rec.IndexValue);
    writer(rec.FurtherLong);
    writer(rec.LevelRows);
    return out.data().size();
}

}  // namespace

double StoredJudgeDate(std::string_view record) {
    static const std::size_t offset = JudgeDateOffset();
    platform::RecordReader in(record);
    in.Skip(offset);
    return in.Double();
}

void WriteJudgeRecord(platform::RecordWriter& out, const KagiJudgeRec& rec) {
    FieldWriter writer{out};
    EachStoredField(rec, writer);
}

void ReadJudgeRecord(platform::RecordReader& in, KagiJudgeRec& rec) {
    FieldReader reader{in};
    EachStoredField(rec, reader);
}

std::string JudgeRecordBytes(std::span<const KagiJudgeRec> recs) {
    platform::RecordWriter out;
    for (const KagiJudgeRec& rec : recs) WriteJudgeRecord(out, rec);
    return out.data();
}

}  // namespace analysis
