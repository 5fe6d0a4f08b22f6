#include "common/settings/settings.h"

#include <optional>
#include <vector>

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/run_state.h"
#include "platform/integer_round.h"
#include "platform/number_format.h"
#include "platform/numeric_text.h"
#include "platform/settings_backend.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

constexpr const char* kAppError = "アプリケーションエラーを検出しました。　";

std::int32_t ReadSettingLongOr(std::string_view path, std::int32_t fallback) {
    const std::optional<double> value = platform::ParseDouble(platform::TrimBlanks(ReadSetting(path)));
    return value ? platform::ToLong(*value) : fallback;
}

}  // namespace

SettingPath SplitSettingPath(std::string_view path) {
    const std::vector<std::string_view> parts = platform::SplitAt(path, '\\');
    if (parts.size() < 3) {
        const RunState& state = State();
        WriteErrorLog(state.errorLogOn, state.procedureId, log_tag::kErrApl, "00", kAppError);
        WriteErrorLog(state.errorLogOn, state.procedureId, log_tag::kErrApl, "00", std::string(path));
        EndWithAppError(kAppError);
    }
    return {std::string(parts[0]), std::string(parts[1]), std::string(parts[2])};
}

std::string ReadSetting(std::string_view path) {
    const SettingPath at = SplitSettingPath(path);
    return platform::ReadUserSetting(at.application, at.section, at.key);
}

void WriteSetting(std::string_view path, std::string_view value) {
    const SettingPath at = SplitSettingPath(path);
    platform::WriteUserSetting(at.application, at.section, at.key, value);
}

std::int32_t ReadSettingLong(std::string_view path) { return ReadSettingLongOr(path, 0); }

std::int32_t ReadSettingLongDefaultOne(std::string_view path) { return ReadSettingLongOr(path, 1); }

std::string SettingKeyPath(std::string_view section, std::string_view key) {
    return "MirControl\\" + std::string(section) + "\\" + std::string(key);
}

std::string IndexedKeyPath(std::string_view keyPath, std::int16_t index) {
    return std::string(keyPath) + platform::FormatNumber(static_cast<double>(index), "00");
}

void WriteIndexedSetting(std::string_view keyPath, std::int16_t index, std::string_view value) {
    WriteSetting(IndexedKeyPath(keyPath, index), value);
}

void WriteIndexedFlagSetting(std::string_view keyPath, std::int16_t index, std::int32_t flag) {
    WriteIndexedSetting(keyPath, index, flag == 1 ? "1" : "0");
}

platform::Currency ParseCurrencyOrZero(std::string_view text) {
    return platform::ParseCurrency(platform::TrimBlanks(text)).value_or(platform::Currency());
}

}  // namespace common
