#include "common/settings/system_state_file.h"

#include <stdexcept>
#include <utility>

#include "common/files/data_file.h"
#include "common/files/text_file_io.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/startup/run_env.h"
#include "platform/file_system.h"
#include "platform/record_io.h"

namespace common {

namespace {

// The stored fields in stored order; one list serves writing and reading.
template <typename Io, typename Rec>
void EachStoredField(Io& io, Rec& rec) {
    for (auto& cell : rec.Checks.cells) io.Long(cell);
    io.Fixed(rec.Method, 1);
    for (auto& code : rec.ReservedCodes) io.Fixed(code, 3);
    for (auto& value : rec.OptionIndexes) io.Long(value);
    io.Fixed(rec.ReservedText1, 4);
    io.Fixed(rec.Candle, 1);
    io.Fixed(rec.PeriodMode, 1);
    io.Text(rec.FromDate);
    io.Text(rec.ToDate);
    io.Fixed(rec.BackupFlag, 1);
    io.Text(rec.MultiCountText);
    io.Fixed(rec.ReservedText2, 4);
    io.Text(rec.DateFromInput);
    io.Text(rec.DateToInput);
    for (auto& value : rec.CountryChecks) io.Long(value);
    for (auto& flag : rec.ReservedFlags) io.Flag(flag);
    io.Long(rec.ReservedLong1);
    for (auto& value : rec.ReservedBlock) io.Long(value);
    io.Text(rec.ReservedText3);
    for (auto& value : rec.ReservedLongs1) io.Long(value);
    for (auto& value : rec.ReservedLongs2) io.Long(value);
    for (auto& value : rec.PriceCountryFlags) io.Long(value);
    for (auto& value : rec.ReservedLongs3) io.Long(value);
    io.Long(rec.BackupCheck);
    io.Long(rec.ReservedLong2);
    io.Text(rec.ReservedText4);
}

struct Writer {
    platform::RecordWriter out;
    void Long(std::int32_t value) { out.Int32(value); }
    void Flag(bool value) { out.Int16(value ? -1 : 0); }
    void Fixed(const std::string& text, std::size_t bytes) { out.FixedText(text, bytes); }
    void Text(const std::string& text) { out.VarText(text); }
};

struct Reader {
    platform::RecordReader in;
    void Long(std::int32_t& value) { value = in.Int32(); }
    void Flag(bool& value) { value = in.Int16() != 0; }
    void Fixed(std::string& text, std::size_t bytes) { text = in.FixedText(bytes); }
    void Text(std::string& text) { text = in.VarText(); }
};

std::string SystemStatePath(EnvRec& env) { return BuildDataFilePath(kSystemStateFileNumber, 0, 0, "", "", env); }

// The record the bytes begin with; false when they end before its last field.
bool ParseSystemState(const std::string& bytes, SystemStateRec& rec) {
    Reader reader{platform::RecordReader(bytes)};
    SystemStateRec parsed;
    try {
        EachStoredField(reader, parsed);
    } catch (const std::out_of_range&) {
        return false;
    }
    rec = std::move(parsed);
    return true;
}

}  // namespace

bool ReadSystemStateFile(EnvRec& env, SystemStateRec& rec) {
    FunctionIdGuard guard("ReadSystemStateFile");
    const std::string path = SystemStatePath(env);
    if (platform::FileExists(path)) {
        if (ParseSystemState(ReadFileBytes(path), rec)) return true;
        const RunState& state = State();
        WriteErrorLog(state.errorLogOn, state.functionId, log_tag::kWarning, "00",
                      "システム状態ファイルが不完全なため、初期値で作成し直しました。　" + path);
    }
    rec = SystemStateRec{};
    WriteSystemStateFile(env, rec);
    return false;
}

void WriteSystemStateFile(EnvRec& env, const SystemStateRec& rec) {
    FunctionIdGuard guard("WriteSystemStateFile");
    Writer writer;
    EachStoredField(writer, rec);
    platform::AtomicReplace(SystemStatePath(env), writer.out.data());
}

void RefreshSystemStateFile(SystemStateRec& rec) {
    EnvRec env;
    CCENV00M(env);
    ReadSystemStateFile(env, rec);
    WriteSystemStateFile(env, rec);
}

}  // namespace common
