#include "analysis/judge_record_io.h"

#include <array>
#include <cstdint>
#include <cstring>

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

// The stored bytes of one number field.
std::string NumberBytes(std::int32_t value) {
    platform::RecordWriter out;
    FieldWriter writer{out};
    writer(value);
    return out.data();
}

// The sorted position and block close a record, in that order.
char* SortPlaceOf(char* record) { return record + kKagiJudgeRecSize - 2 * NumberBytes(0).size(); }

}  // namespace

void StoreSequenceNumber(char* record, std::int32_t sequence) {
    const std::string number = NumberBytes(sequence);
    std::memcpy(SortPlaceOf(record), number.data(), number.size());
}

void StoreSortPlace(char* record, std::int32_t sequence, std::int32_t block) {
    const std::string place = NumberBytes(sequence) + NumberBytes(block);
    std::memcpy(SortPlaceOf(record), place.data(), place.size());
}

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

void ReadJudgeListFields(platform::RecordReader& in, KagiJudgeRec& rec) {
    // Decoding the sixteen texts of the Key is most of the cost of a read.
    struct MarketOnly : FieldReader {
        using FieldReader::operator();
        void operator()(marketdata::Key& key) { marketdata::ReadKeyRecordMarket(in, key); }
    } reader{{in}};
    EachStoredField(rec, reader);
}

std::string JudgeRecordBytes(std::span<const KagiJudgeRec> recs) {
    platform::RecordWriter out;
    for (const KagiJudgeRec& rec : recs) WriteJudgeRecord(out, rec);
    return out.data();
}

}  // namespace analysis
