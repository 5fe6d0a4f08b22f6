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

}  // namespace

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
