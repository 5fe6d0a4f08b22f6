#include "common/tasks/task_records.h"

#include <stdexcept>

#include "platform/record_io.h"

namespace common {

namespace {

// One description of each layout serves both directions.
template <typename Io, typename Rec>
void TSCFields(Io& io, Rec& rec) {
    io.Text(rec.TaskDate, 8);
    io.Text(rec.TaskTime, 6);
    io.Text(rec.TaskNo, 20);
    io.Text(rec.TaskStatus, 1);
    io.Text(rec.Filler1, 5);
    for (auto* value : {&rec.ProcIdx, &rec.SlotCount, &rec.TaskSequence, &rec.TaskMax, &rec.TaskCount,
                        &rec.VbErrorCode, &rec.WaitingCount, &rec.StartingCount, &rec.RunningCount, &rec.DoneCount,
                        &rec.SuspendedCount, &rec.FailedCount, &rec.Reserved}) {
        io.Long(*value);
    }
}

template <typename Io, typename Rec>
void TSDFields(Io& io, Rec& rec) {
    io.Text(rec.TaskDate, 8);
    io.Text(rec.TaskTime, 6);
    io.Text(rec.TaskNo, 20);
    io.Text(rec.TaskStatus, 1);
    io.Text(rec.Filler1, 5);
    io.Long(rec.ProcIdx);
    io.Long(rec.TaskSlot);
    io.Long(rec.TaskSequence);
    io.Text(rec.TaskRequest, 1);
    io.Long(rec.TargetCount);
    io.Long(rec.CompleteCount);
    io.Long(rec.VbErrorCode);
    io.Var(rec.Path);
    io.Var(rec.MainPath);
    io.Var(rec.TaskPath);
}

struct Writer {
    platform::RecordWriter out;
    void Text(const std::string& value, std::size_t bytes) { out.FixedText(value, bytes); }
    void Long(const std::int32_t& value) { out.Int32(value); }
    void Var(const std::string& value) { out.VarText(value); }
};

struct Reader {
    platform::RecordReader in;
    void Text(std::string& value, std::size_t bytes) { value = in.FixedText(bytes); }
    void Long(std::int32_t& value) { value = in.Int32(); }
    void Var(std::string& value) { value = in.VarText(); }
};

template <typename Rec, typename Fields>
std::optional<Rec> Parse(std::string_view bytes, Fields fields) {
    Reader reader{platform::RecordReader(bytes)};
    Rec rec;
    try {
        fields(reader, rec);
    } catch (const std::out_of_range&) {
        return std::nullopt;
    }
    return rec;
}

}  // namespace

std::string SerializeTSCRec(const TSCRec& rec) {
    Writer writer;
    TSCFields(writer, rec);
    return writer.out.data();
}

std::string SerializeTSDRec(const TSDRec& rec) {
    Writer writer;
    TSDFields(writer, rec);
    return writer.out.data();
}

std::optional<TSCRec> ParseTSCRec(std::string_view bytes) {
    return Parse<TSCRec>(bytes, [](Reader& r, TSCRec& rec) { TSCFields(r, rec); });
}

std::optional<TSDRec> ParseTSDRec(std::string_view bytes) {
    return Parse<TSDRec>(bytes, [](Reader& r, TSDRec& rec) { TSDFields(r, rec); });
}

}  // namespace common
