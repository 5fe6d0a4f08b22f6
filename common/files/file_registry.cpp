#include "common/files/file_registry.h"

#include <optional>
#include <string_view>

#include "common/logs/logs.h"
#include "common/logs/message_box.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "platform/number_format.h"

namespace common {

namespace {

struct Entry {
    long number;
    Folder folder;
    std::string_view stem;
    std::string_view extension;  // "" for the page-fetch work files: CFFIL02M forces theirs
};

// The catalogue of data files. Stems begin with the separator.
constexpr Entry kRegistry[] = {
    {1, Folder::Ctrl, "/CdmTrial", ".txt"},
    {2, Folder::Ctrl, "/Ind", ".txt"},
    {3, Folder::Log, "/AplLog", ".txt"},
    {4, Folder::Log, "/ErrLog", ".txt"},
    {5, Folder::Ctrl, "/HpCtrl", ".dat"},
    {7, Folder::User, "/PfName", ".txt"},
    {8, Folder::User, "/PfData", ".txt"},
    {10, Folder::User, "/値幅表", ".txt"},
    {11, Folder::Keisen, "/Keisen", ".dat"},
    {12, Folder::Keisen, "/鉤足法則判定結果", ".dat"},
    {51, Folder::Ctrl, "/NmKey", ".dat"},
    {52, Folder::Ctrl, "/NmDat", ".dat"},
    {100, Folder::Temp, "/TSC", ".dat"},
    {102, Folder::Temp, "/TSD", ".dat"},
    {111, Folder::Temp, "/TSDRUN", ".dat"},
    {112, Folder::Temp, "/TSDTRN", ".dat"},
    {113, Folder::Temp, "/TSDSTS", ".dat"},
    {114, Folder::Temp, "/TSDDON", ".dat"},
    {115, Folder::Temp, "/TSDLCK", ".lck"},
    {200, Folder::User, "/DspName", ".txt"},
    {1001, Folder::User, "/銘柄登録", ".txt"},
    {1002, Folder::WebData, "/ロイター業種", ".txt"},
    {1003, Folder::WebData, "/企業一覧(国内)", ".txt"},
    {1004, Folder::WebData, "/企業一覧(中国)", ".txt"},
    {1006, Folder::WebData, "/企業一覧(米国)", ".txt"},
    {1007, Folder::WebData, "/企業情報(国内)", ".txt"},
    {1008, Folder::WebData, "/企業情報(中国)", ".txt"},
    {1011, Folder::WebData, "/マーケット速報(国内)", ".txt"},
    {1012, Folder::WebData, "/マーケット速報(中国)", ".txt"},
    {1013, Folder::WebData, "/マーケット速報(米国)", ".txt"},
    {1014, Folder::Chart, "/Chart", ".txt"},
    {1015, Folder::Split, "/Split", ".txt"},
    {1017, Folder::WebData, "/為替情報", ".txt"},
    {2002, Folder::Temp, "/UsrToCdm", ".txt"},
    {3002, Folder::WebData, "/IndustryJpn", ".txt"},
    {3003, Folder::WebData, "/IndustryUsa", ".txt"},
    {3004, Folder::WebData, "/IndustryChn", ".txt"},
    {10001, Folder::Work, "/HtmlText", ""},
    {10002, Folder::Work, "/HtmlHref", ""},
    {10003, Folder::Work, "/HtmlStrc", ""},
    {10004, Folder::Work, "/HtmlHtml", ""},
    {10005, Folder::Work, "/HtmlOrgn", ""},
    {10006, Folder::Work, "/HtmlLog", ""},
    {20002, Folder::Ctrl, "/HpSys01", ".dat"},
    {20003, Folder::Program, "/HpSys901", ".dat"},
    {20004, Folder::Ctrl, "/Clnd", ".dat"},
    {20101, Folder::DispData, "/DspSave", ".dat"},
    {20102, Folder::DispData, "/DspList", ".dat"},
    {30001, Folder::Ctrl, "/MiningTrial", ".dat"},
    {30002, Folder::Ctrl, "/MiningIdxTrial", ".dat"},
    {30003, Folder::DispData, "/MngCtrlTrial", ".dat"},
    {40001, Folder::Keisen, "/鉤足判定結果", ".dat"},
    {40002, Folder::Keisen, "/鉤足判定集計結果", ".dat"},
    {50001, Folder::Temp, "/TempFile", ".tmp"},
    {90001, Folder::Ctrl, "/HpMngCtrl", ".dat"},
};

// The analysis program names its portfolio files apart and has no 200.
std::optional<Entry> Lookup(long number) {
    const bool korvane = State().isKorvane;
    if (korvane && number == 200) {
        return std::nullopt;
    }
    for (const Entry& entry : kRegistry) {
        if (entry.number != number) {
            continue;
        }
        if (korvane && number == 7) return Entry{7, Folder::User, "/PFolioM", ".txt"};
        if (korvane && number == 8) return Entry{8, Folder::User, "/PFolioD", ".txt"};
        return entry;
    }
    return std::nullopt;
}

std::string NumberPart(long value) {
    return value >= 1 ? platform::FormatNumber(static_cast<double>(value), "000") : "";
}

std::string_view ForcedExtension(long number) {
    switch (number) {
        case 10001:
        case 10002:
        case 10003:
        case 10006: return ".txt";
        case 10004:
        case 10005: return ".htm";
        default: return "";
    }
}

[[noreturn]] void RegistryError(const std::string& ownId, const std::string& reason,
                                const std::vector<std::string>& details) {
    const std::string message = "アプリケーションエラー（" + reason + "）";
    const RunState& state = State();
    WriteErrorLog(state.errorLogOn, ownId, log_tag::kErrApl, "00", message);
    for (const std::string& line : details) {
        WriteErrorLog(state.errorLogOn, ownId, log_tag::kErrApl, "00", line);
    }
    EndWithAppError(message);
}

}  // namespace

std::string CFFIL02M(const FilePathReq& req, EnvRec& env) {
    FunctionIdGuard guard("CFFIL02M");
    const auto fail = [&](const std::string& reason) {
        const RunState& state = State();
        RegistryError("CFFIL02M", reason,
                      {"ProcID   =" + state.procedureId, "FuncID   =" + state.functionId, "Path     =" + env.Path,
                       "MainPath =" + env.MainPath, "TaskPath =" + env.TaskPath,
                       "FNameIdx =" + std::to_string(req.FNameIdx), "ProcIdx  =" + std::to_string(req.ProcIdx),
                       "FNameSeq =" + std::to_string(req.FNameSeq), "Concati  =" + req.Concati,
                       "FileExt  =" + req.FileExt});
    };
    if (env.Path.empty()) fail("Path未設定");
    if (env.DataPath.empty()) fail("DataPath未設定");
    if (env.MainPath.empty()) fail("MainPath未設定");
    if (env.TaskPath.empty()) fail("TaskPath未設定");
    const std::optional<Entry> entry = req.FNameIdx >= 1 ? Lookup(req.FNameIdx) : std::nullopt;
    if (!entry) fail("ファイル№が不正");

    const std::string folder = env.folder(entry->folder);
    const std::string_view forced = ForcedExtension(req.FNameIdx);
    std::string name = std::string(entry->stem) + NumberPart(req.ProcIdx);
    if (req.FNameIdx != 100) {
        name += NumberPart(req.FNameSeq);
    }
    name += req.Concati;
    name += forced.empty() ? req.FileExt : std::string(forced);

    env.currentFolder = folder;
    env.currentFileName = name;
    return folder + name;
}

std::string CFFIL03M(long fileNumber) {
    FunctionIdGuard guard("CFFIL03M");
    const std::optional<Entry> entry = Lookup(fileNumber);
    if (!entry || entry->extension.empty()) {
        const RunState& state = State();
        RegistryError("CFFIL03M", "ファイル№が不正・拡張子",
                      {"ProcID   =" + state.procedureId, "FuncID   =" + state.functionId,
                       "FNameIdx =" + std::to_string(fileNumber)});
    }
    return std::string(entry->extension);
}

}  // namespace common
