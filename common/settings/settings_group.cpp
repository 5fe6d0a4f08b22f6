#include "common/settings/settings_group.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/files/file_registry.h"
#include "common/files/hand_edited_file.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/settings/settings.h"
#include "common/startup/run_env.h"
#include "platform/number_format.h"
#include "platform/utf8_text.h"

namespace common {
namespace {

constexpr long kGroupFileNumber = 20101;

// A key of a group: plain when count is 0, else indexed 01 to count.
struct GroupKey {
    std::string_view key;
    std::int16_t count;
};

struct Group {
    std::string_view section;
    std::span<const GroupKey> keys;
};

constexpr GroupKey kKesenKeys[] = {
    {"EnvBscLR", 0},  {"EnvLR", 0},     {"EnvLRS", 0},    {"EnvKhn", 0},    {"EnvHsk", 0},    {"EnvTdai", 0},
    {"EnvRoeN", 0},   {"EnvRoeD", 0},   {"EnvIkoN", 0},   {"EnvIkoD", 0},   {"EnvIkoRng", 0}, {"EnvHnnN", 0},
    {"EnvHnnD", 0},   {"EnvAnaMin", 0}, {"EnvAnaMax", 0}, {"EnvAnadpt", 0}, {"EnvRoaIgA", 0}, {"EnvRoaIgB", 0},
    {"EnvRoaIgC", 0}, {"EnvChange", 0}, {"EnvRoaIg1", 0}, {"EnvRoaIg2", 0}, {"EnvRoaIg3", 0}, {"EnvRange", 0},
    {"EnvKagi", 4},   {"EnvSumRng", 0},
};

constexpr GroupKey kKsnSumKeys[] = {
    {"RsltSlctCntry", 0}, {"RsltSlctSumry", 0}, {"RsltSlctRule", 0}, {"RsltSaveCntry", 0},
    {"RsltSaveSumry", 0}, {"RsltSaveRule", 0},  {"RsltSrtAD1", 0},   {"RsltSrtAD2", 0},
};

// Grouped by key, not by row.
constexpr GroupKey kKsnMngKeys[] = {
    {"MngSel1", 5}, {"MngSel1Lst", 5}, {"MngSel2", 5}, {"MngSel2Fm", 5}, {"MngSel2To", 5}, {"MngSrtAD", 0},
};

// The country choices travel as the three indexed keys that the collection
// settings read, so that the file restores them.
constexpr GroupKey kHpGetKeys[] = {
    {"HpDupSts", 0}, {"HpSplit", 0},  {"BscExcg", 0},   {"BscList", 3},  {"BscCorp", 3}, {"BscMark", 3},
    {"BscOthe", 0},  {"BscHpri", 3},  {"HpRepToHp", 0}, {"HpSelect", 0}, {"HpCntry", 3}, {"HpCandle", 0},
    {"HpPr", 0},     {"HpPrFrom", 0}, {"HpPrTo", 0},    {"HpBackUp", 0},
    // The hosts of the collectors' sites: not defaulted, set by importing this group.
    {"SitePortal", 0}, {"SiteChinaStock", 0}, {"SiteUsQuote", 0}, {"SiteUsPortal", 0}, {"SiteJpPrices", 0},
    {"SiteRates", 0}, {"SiteReport", 0},
    // The brand text in the footer of the portal's company-list pages, which
    // ends a page's list: not defaulted either; empty, it ends none.
    {"ListBrand", 0},
};

constexpr GroupKey kKsnGrhKeys[] = {
    {"GrahWide", 0}, {"GrahLog", 0},  {"GrahConv", 0},  {"Grahmidl", 0},   {"GrahLwhi", 0},
    {"GrahSplt", 0}, {"GrahSize", 0}, {"GrahRange", 0}, {"GrahPeriod", 0},
};

constexpr GroupKey kMireldaCommonKeys[] = {{"MultiTask", 0}, {"ListMax", 0}};
constexpr GroupKey kKorvaneCommonKeys[] = {{"MultiTaskKsn", 0}, {"ListMax", 0}};

constexpr GroupKey kHelpKeys[] = {{"MngCntry", 4}};

std::optional<Group> FindGroup(int group) {
    switch (group) {
        case 1: return Group{"Kesen", kKesenKeys};
        case 2: return Group{"KsnSum", kKsnSumKeys};
        case 3: return Group{"KsnMng", kKsnMngKeys};
        case 4: return Group{"HpGet", kHpGetKeys};
        case 5: return Group{"KsnGrh", kKsnGrhKeys};
        case 6:
            return Group{"Common", State().isKorvane ? std::span(kKorvaneCommonKeys) : std::span(kMireldaCommonKeys)};
        case 7: return Group{"Help", kHelpKeys};
        default: return std::nullopt;
    }
}

std::vector<std::string> KeyPaths(const Group& group) {
    std::vector<std::string> paths;
    for (const GroupKey& entry : group.keys) {
        const std::string path = SettingKeyPath(group.section, entry.key);
        if (entry.count == 0) {
            paths.push_back(path);
        }
        for (std::int16_t index = 1; index <= entry.count; ++index) {
            paths.push_back(IndexedKeyPath(path, index));
        }
    }
    return paths;
}

std::string GroupFilePath(int group, EnvRec& env) {
    FilePathReq request;
    request.FNameIdx = kGroupFileNumber;
    request.Concati = "No" + platform::FormatNumber(static_cast<double>(group), "00");
    request.FileExt = CFFIL03M(kGroupFileNumber);
    return CFFIL02M(request, env);
}

std::string WithEvery(std::string text, char from, char to) {
    std::ranges::replace(text, from, to);
    return text;
}

[[noreturn]] void UnknownGroup(int group) {
    const std::string message = "アプリケーションエラー（設定グループ№が不正）";
    const RunState& state = State();
    WriteErrorLog(state.errorLogOn, state.functionId, log_tag::kErrApl, "00", message);
    WriteErrorLog(state.errorLogOn, state.functionId, log_tag::kErrApl, "00", "Group    =" + std::to_string(group));
    EndWithAppError(message);
}

}  // namespace

void ExportSettingsGroup(int group, EnvRec& env) {
    FunctionIdGuard guard("ExportSettingsGroup");
    const std::optional<Group> found = FindGroup(group);
    if (!found) UnknownGroup(group);
    std::vector<std::string> lines;
    for (const std::string& path : KeyPaths(*found)) {
        lines.push_back(WithEvery(path, '\\', '_') + "=" + platform::TrimBlanks(ReadSetting(path)));
    }
    CFFIL30M(lines, GroupFilePath(group, env));
}

bool ImportSettingsGroup(int group, EnvRec& env) {
    FunctionIdGuard guard("ImportSettingsGroup");
    const std::string path = GroupFilePath(group, env);
    if (!CFFIL10M(path, "")) {
        return false;
    }
    std::vector<std::string> lines;
    if (!ReadHandEditedFile(path, lines)) return false;
    const std::optional<Group> found = FindGroup(group);
    std::vector<std::string> exported = found ? KeyPaths(*found) : std::vector<std::string>{};
    // Both programs export their own parallelism into the one group-6 file:
    // the other program's key in it is a value of the shared store, not a foreign line.
    if (group == 6) {
        for (const GroupKey& entry : State().isKorvane ? kMireldaCommonKeys : kKorvaneCommonKeys) {
            exported.push_back(SettingKeyPath("Common", entry.key));
        }
    }
    for (const std::string& line : lines) {
        if (platform::TrimBlanks(line).empty()) {
            continue;
        }
        // Only the group's own keys: a hand-edited or foreign line must neither
        // end the program on a malformed path nor touch the run state.
        // The store ignores letter case in its keys, and so does the match.
        const std::size_t equals = line.find('=');
        const std::string keyPath = WithEvery(line.substr(0, equals), '_', '\\');
        const auto known = std::ranges::find_if(
            exported, [&keyPath](const std::string& path) { return platform::EqualsIgnoringAsciiCase(path, keyPath); });
        if (equals != std::string::npos && known != exported.end()) {
            WriteSetting(*known, line.substr(equals + 1));
            continue;
        }
        const RunState& state = State();
        WriteErrorLog(state.errorLogOn, state.functionId, log_tag::kWarning, "00",
                      "設定ファイルの行を読み飛ばしました：" + path + "：" + line);
    }
    return true;
}

void ExportCollectorSettings() {
    EnvRec env;
    CCENV00M(env);
    ExportSettingsGroup(4, env);
    ExportSettingsGroup(6, env);
}

}  // namespace common
