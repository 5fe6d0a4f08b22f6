#include "marketdata/industry_list.h"

#include <array>
#include <cstddef>
#include <iterator>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/hand_edited_file.h"
#include "common/files/key_layout.h"
#include "common/files/master_merge.h"
#include "common/files/text_file_read.h"
#include "common/files/text_file_write.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "marketdata/line_order.h"
#include "marketdata/text_record_line.h"
#include "platform/date.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

struct FixedField {
    std::string IndustryRec::*member;
    std::size_t width;
    const char* name;
};

const std::array<FixedField, 3> kFixedFields{{
    {&IndustryRec::Fixed1, 1, "Fixed1"},
    {&IndustryRec::Fixed4, 4, "Fixed4"},
    {&IndustryRec::Fixed6, 6, "Fixed6"},
}};

// Positions 180-184 of the code master: the names of levels "0020" to "0060".
constexpr std::size_t kLevel0020Name = 47;
constexpr std::size_t kLevel0040Name = 49;

// An industry level as the code-master record holds it: its code in the Key
// and its name in an InfoText.
struct LevelSlot {
    const char* level;
    std::string Key::*code;
    std::size_t name;
};

const LevelSlot k0020{"0020", &Key::IndCode0020, kLevel0020Name};
const LevelSlot k0030{"0030", &Key::IndCode0030, 48};
const LevelSlot k0040{"0040", &Key::IndCode0040, kLevel0040Name};
const LevelSlot k0050{"0050", &Key::IndCode0050, 50};
const LevelSlot k0060{"0060", &Key::IndCode0060, 51};

// The line fields after the Key, in line order: the three fixed fields, then
// texts 1-33.
std::vector<std::string*> FieldsOf(IndustryRec& rec) {
    std::vector<std::string*> fields;
    fields.reserve(kIndustryFieldCount - kKeyFieldCount);
    for (const FixedField& fixed : kFixedFields) fields.push_back(&(rec.*fixed.member));
    for (std::size_t n = 1; n < rec.Text.size(); ++n) fields.push_back(&rec.Text[n]);
    return fields;
}

// The sources themselves, not a split run's parts of them: the user writes
// their industry rows with an editor.
bool IsHandEdited(const IndustryLoadReq& req) {
    const bool source = req.FNameIdx == kJapanIndustryFileNumber || req.FNameIdx == kUsaIndustryFileNumber ||
                        req.FNameIdx == kChinaIndustryFileNumber;
    return source && req.ProcIdx == 0 && req.FNameSeq == 0;
}

bool Passes(const IndustryRec& rec, const IndustryLoadReq& req) {
    return (req.FlagFilter.empty() || rec.Key.Flag1 == req.FlagFilter) &&
           (req.CategoryFilter.empty() || rec.Key.Category == req.CategoryFilter) &&
           (req.MarketFilter.empty() || rec.Key.Market == req.MarketFilter);
}

}  // namespace

bool LoadIndustryList(const IndustryLoadReq& req, common::EnvRec& env, std::vector<IndustryRec>& entries) {
    entries.clear();
    std::string path;
    if (!common::FindDataFile(req.FNameIdx, req.ProcIdx, req.FNameSeq, req.Concati, "", env, path)) return false;
    std::vector<std::string> lines;
    if (!IsHandEdited(req)) {
        common::CFFIL20M(path, lines);
    } else if (!common::ReadHandEditedFile(path, lines)) {
        return false;
    }
    entries.reserve(lines.size());
    IndustryRec rec;
    for (const std::size_t j : SortedLineOrder(lines, req.SortKeys)) {
        if (platform::TrimBlanks(lines[j]).empty()) continue;
        if (!ParseIndustryLine(lines[j], rec)) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                                  "業種情報の読めない行を読み飛ばしました。　" + path + "　" + std::to_string(j + 1) +
                                      "行目　項目数=" + std::to_string(SplitTabs(lines[j]).size()));
            continue;
        }
        if (Passes(rec, req)) entries.push_back(rec);
    }
    entries.shrink_to_fit();
    return !entries.empty();
}

bool ParseIndustryLine(std::string_view line, IndustryRec& rec) {
    if (!LineToTextRecord(line, rec.Key, FieldsOf(rec))) return false;
    for (const FixedField& fixed : kFixedFields) {
        rec.*fixed.member = FitField(rec.*fixed.member, fixed.width, fixed.name);
    }
    return true;
}

void InitIndustryRec(std::string_view market, std::string_view code1, std::string_view category,
                     std::string_view indCode0020, IndustryRec& rec) {
    InitKey(market, code1, category, indCode0020, rec.Key);
    for (const FixedField& fixed : kFixedFields) rec.*fixed.member = std::string(fixed.width, ' ');
    for (std::string& text : rec.Text) text.clear();
}

void IndustryRecToLine(IndustryRec& rec, std::string& line) {
    const platform::DateTime now = platform::Now();
    rec.Key.UpdateDate = platform::DateText(now.date);
    rec.Key.UpdateTime = platform::TimeText(now.hour, now.minute, now.second);
    // The fixed fields go out at full width whatever the collector left in them.
    std::array<std::string, kFixedFields.size()> fitted;
    std::vector<const std::string*> fields;
    fields.reserve(kIndustryFieldCount - kKeyFieldCount);
    for (std::size_t i = 0; i < kFixedFields.size(); ++i) {
        const FixedField& fixed = kFixedFields[i];
        fitted[i] = FitField(rec.*fixed.member, fixed.width, fixed.name);
        fields.push_back(&fitted[i]);
    }
    for (std::size_t n = 1; n < rec.Text.size(); ++n) fields.push_back(&rec.Text[n]);
    TextRecordToLine(rec.Key, fields, line);
}

void BuildIndustryLines(long fileNumber, long procIdx, long seq, const std::string& namePart,
                        const std::string& extension, common::EnvRec& env, std::span<IndustryRec> entries) {
    std::vector<std::string> lines(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) IndustryRecToLine(entries[i], lines[i]);
    common::SortKeyRec layout;
    common::SetKeyLayout3(layout);
    common::SortLinesByKeys(lines, layout);
    common::CFFIL30M(lines, common::BuildDataFilePath(fileNumber, procIdx, seq, namePart, extension, env));
}

void CommitIndustryList(long fileNumber, long procIdx, long seq, const std::string& namePart,
                        const std::string& workExt, const std::string& finalExt, common::EnvRec& env,
                        common::MSGRec& msg) {
    std::vector<std::string> merged;
    const std::string base =
        common::RecoverInCompanyOrder(fileNumber, procIdx, seq, namePart, workExt, finalExt, env, msg, merged);
    // No merged lines: nothing to merge, or a recovery that refused to run and
    // still needs the work file.
    if (!merged.empty()) common::CFFIL70M(base + workExt);
}

void CFIDXI0M(common::EnvRec& env, common::MSGRec& msg) {
    common::FunctionIdGuard guard("CFIDXI0M");
    struct Source {
        long fileNumber;
        const char* namePart;
    };
    const std::array<Source, 4> sources{{
        {kChinaIndustryFileNumber, ""},
        {kJapanIndustryFileNumber, ""},
        {kUsaIndustryFileNumber, "Sector"},
        {kUsaIndustryFileNumber, ""},
    }};
    std::vector<IndustryRec> total;
    std::vector<IndustryRec> loaded;
    for (const Source& source : sources) {
        IndustryLoadReq req;
        req.FNameIdx = source.fileNumber;
        req.Concati = source.namePart;
        common::SetKeyLayout3(req.SortKeys);
        if (LoadIndustryList(req, env, loaded)) {
            total.insert(total.end(), std::make_move_iterator(loaded.begin()), std::make_move_iterator(loaded.end()));
        }
    }
    if (total.empty()) return;
    BuildIndustryLines(kIndustryListFileNumber, 0, 0, "", ".tmp", env, total);
    msg.DisplayOn = false;
    CommitIndustryList(kIndustryListFileNumber, 0, 0, "", ".tmp", ".txt", env, msg);
}

std::string FindIndustryCode(std::string_view market, std::string_view level, std::string_view name, long& index,
                             std::span<const IndustryRec> entries) {
    index = 0;
    if (name.empty()) return "";
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IndustryRec& rec = entries[i];
        if (common::TextEquals(platform::TrimBlanks(rec.Text[22]), name) &&
            common::TextEquals(platform::TrimBlanks(rec.Key.Category), level) &&
            common::TextEquals(platform::TrimBlanks(rec.Key.Market), market)) {
            index = static_cast<long>(i + 1);
            return platform::LeftChars(rec.Key.CorpCode, 20);
        }
    }
    return "";
}

void FillIndustryLevels(long refillMode, CdmRec& rec, std::span<const IndustryRec> entries) {
    const std::string market = platform::TrimBlanks(rec.Key.Market);
    // The entry found for the level's name; null when the level was not
    // looked at or its name was not found (its code then blank).
    const auto lookUp = [&](const LevelSlot& slot) -> const IndustryRec* {
        std::string& code = rec.Key.*slot.code;
        if (refillMode != 1 && !platform::TrimBlanks(code).empty()) return nullptr;
        long index = 0;
        code =
            platform::PadRightChars(FindIndustryCode(market, slot.level, rec.InfoText[slot.name], index, entries), 4);
        return index > 0 ? &entries[static_cast<std::size_t>(index - 1)] : nullptr;
    };
    lookUp(k0020);
    if (const IndustryRec* found = lookUp(k0030)) {
        rec.Key.IndCode0020 = found->Key.IndCode0020;
        rec.InfoText[kLevel0020Name] = found->Text[14];
    }
    lookUp(k0040);
    const IndustryRec* found0050 = lookUp(k0050);
    if (found0050 != nullptr && market == "CHN") {
        rec.Key.IndCode0040 = found0050->Key.IndCode0040;
        rec.InfoText[kLevel0040Name] = found0050->Text[16];
    }
    if (market == "JPN") lookUp(k0060);
}

}  // namespace marketdata
