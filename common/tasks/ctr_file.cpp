#include "common/tasks/ctr_file.h"

#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/file_system.h"
#include "platform/record_io.h"

namespace common {

namespace {

std::string CtrFilePath(EnvRec& env) { return CFFIL02M({5, 0, 0, "", CFFIL03M(5)}, env); }

std::size_t Offset(long processNumber) {
    return static_cast<std::size_t>(processNumber < 1 ? 0 : processNumber - 1) * kCtrRecSize;
}

std::string Serialize(const CtrRec& rec) {
    platform::RecordWriter out;
    for (const std::int32_t value : {rec.WriteDate, rec.WriteTime, rec.Reserved1, rec.Reserved2, rec.StartDate,
                                     rec.StartTime, rec.EndDate, rec.EndTime}) {
        out.Int32(value);
    }
    out.FixedText(rec.ReservedText1, 8);
    out.FixedText(rec.ReservedText2, 4);
    out.FixedText(rec.Status, 1);
    out.FixedText(rec.Step, 2);
    out.FixedText(rec.ReservedText3, 7);
    return out.data();
}

// A record past the end of the file, or a partial one, reads as zero bytes.
CtrRec Parse(std::string bytes) {
    bytes.resize(kCtrRecSize, '\0');
    platform::RecordReader in(bytes);
    CtrRec rec;
    for (std::int32_t* value : {&rec.WriteDate, &rec.WriteTime, &rec.Reserved1, &rec.Reserved2, &rec.StartDate,
                                &rec.StartTime, &rec.EndDate, &rec.EndTime}) {
        *value = in.Int32();
    }
    rec.ReservedText1 = in.FixedText(8);
    rec.ReservedText2 = in.FixedText(4);
    rec.Status = in.FixedText(1);
    rec.Step = in.FixedText(2);
    rec.ReservedText3 = in.FixedText(7);
    return rec;
}

void Now(std::int32_t& date, std::int32_t& time) {
    long d = 0;
    long t = 0;
    GetNowNumbers(d, t);
    date = static_cast<std::int32_t>(d);
    time = static_cast<std::int32_t>(t);
}

}  // namespace

namespace {

// A start or an end: the letter, step "00" and that moment's stamp.
void Mark(long processNumber, EnvRec& env, CtrRec& rec, const std::string& status, std::int32_t CtrRec::*date,
          std::int32_t CtrRec::*time) {
    ReadCtrRec(processNumber, env, rec);
    rec.Status = status;
    rec.Step = "00";
    Now(rec.*date, rec.*time);
    WriteCtrRec(processNumber, env, rec);
}

}  // namespace

void ClearCtrRec(CtrRec& rec) {
    rec = CtrRec{};
    rec.ReservedText1.assign(8, ' ');
    rec.ReservedText2.assign(4, ' ');
    rec.Status.assign(1, ' ');
    rec.Step.assign(2, ' ');
    rec.ReservedText3.assign(7, ' ');
}

void ReadCtrRec(long processNumber, EnvRec& env, CtrRec& rec) {
    const std::string path = CtrFilePath(env);
    if (!platform::FileExists(path)) {
        // A first run starts from a cleared record, never from whatever the caller held.
        ClearCtrRec(rec);
        WriteCtrRec(processNumber, env, rec);
        ClearCtrRec(rec);
        return;
    }
    const std::string bytes = ReadFileBytes(path);
    const std::size_t at = Offset(processNumber);
    rec = Parse(at < bytes.size() ? bytes.substr(at, kCtrRecSize) : std::string());
}

void WriteCtrRec(long processNumber, EnvRec& env, CtrRec& rec) {
    Now(rec.WriteDate, rec.WriteTime);
    const std::string path = CtrFilePath(env);
    std::string bytes = platform::FileExists(path) ? ReadFileBytes(path) : std::string();
    const std::size_t at = Offset(processNumber);
    if (bytes.size() < at + kCtrRecSize) bytes.resize(at + kCtrRecSize, '\0');
    bytes.replace(at, kCtrRecSize, Serialize(rec));
    platform::AtomicReplace(path, bytes);
}

void MarkCtrRecStart(long processNumber, EnvRec& env, CtrRec& rec, const std::string& status) {
    Mark(processNumber, env, rec, status, &CtrRec::StartDate, &CtrRec::StartTime);
}

void SetCtrRecStep(long processNumber, EnvRec& env, CtrRec& rec, const std::string& step) {
    ReadCtrRec(processNumber, env, rec);
    rec.Step = step;
    WriteCtrRec(processNumber, env, rec);
    WriteSetting("MirControl\\Common\\Step", step);
}

void MarkCtrRecEnd(long processNumber, EnvRec& env, CtrRec& rec, const std::string& status) {
    Mark(processNumber, env, rec, status, &CtrRec::EndDate, &CtrRec::EndTime);
}

}  // namespace common
