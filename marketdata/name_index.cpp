#include "marketdata/name_index.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <fstream>
#include <optional>

#include "common/files/data_file.h"
#include "common/files/file_ops.h"
#include "common/files/file_registry.h"
#include "common/files/text_file_io.h"
#include "common/files/text_file_read.h"
#include "common/logs/logs.h"
#include "common/procedure_guard.h"
#include "common/run_state.h"
#include "common/text/text_compare.h"
#include "platform/file_system.h"
#include "platform/record_io.h"
#include "platform/replace_group.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

constexpr long kNameKeyFileNumber = 51;
constexpr long kNameDataFileNumber = 52;
constexpr std::array<const char*, 3> kMarkets{"JPN", "CHN", "USA"};

struct HeadField {
    std::string Key::*member;
    std::size_t width;
    const char* name;
};

constexpr HeadField kMarketField{&Key::Market, 3, "Market"};
constexpr HeadField kCategoryField{&Key::Category, 4, "Category"};
constexpr HeadField kCorpCodeField{&Key::CorpCode, 20, "CorpCode"};

const std::array<HeadField, 3> kKeyRecordFields{kMarketField, kCategoryField, kCorpCodeField};

const std::array<HeadField, 8> kDataHeadFields{{
    kMarketField,
    kCategoryField,
    {&Key::IndCode0020, 4, "IndCode0020"},
    {&Key::IndCode0030, 4, "IndCode0030"},
    {&Key::IndCode0040, 4, "IndCode0040"},
    {&Key::IndCode0050, 4, "IndCode0050"},
    {&Key::IndCode0060, 4, "IndCode0060"},
    kCorpCodeField,
}};

constexpr std::size_t kRptText06Width = 3;

// The eight texts after the head: code-master InfoText number and byte width.
struct DataText {
    std::size_t infoText;
    std::size_t width;
    std::string NameIndexRec::*member;
};

const std::array<DataText, 8> kDataTexts{{
    {38, 100, &NameIndexRec::Name},
    {41, 100, &NameIndexRec::SecondName},
    {46, 20, &NameIndexRec::InfoText046},
    {47, 30, &NameIndexRec::IndName0020},
    {48, 30, &NameIndexRec::IndName0030},
    {49, 30, &NameIndexRec::IndName0040},
    {50, 60, &NameIndexRec::IndName0050},
    {51, 60, &NameIndexRec::IndName0060},
}};

// The market as it appears in the file names. The classic file system did not
// tell "jpn" from "JPN"; here the name is always upper case so that writers
// and readers meet on one file whatever case the caller used.
std::string MarketNamePart(std::string_view market) {
    std::string part = platform::TrimBlanks(market);
    for (char& c : part) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return part;
}

std::string BasePath(long fileNumber, std::string_view market, common::EnvRec& env) {
    return common::CFFIL02M({fileNumber, 0, 0, MarketNamePart(market), ""}, env);
}

bool SameText(std::string_view a, std::string_view b) {
    return common::TextEquals(platform::TrimRight(a), platform::TrimRight(b));
}

void WriteHead(platform::RecordWriter& out, const Key& key, std::span<const HeadField> fields) {
    for (const HeadField& field : fields) out.FixedText(platform::TrimBlanks(key.*field.member), field.width);
}

std::optional<std::size_t> MarketIndex(std::string_view market, std::span<const std::string> markets) {
    for (std::size_t k = 0; k < markets.size(); ++k) {
        if (SameText(market, markets[k])) return k;
    }
    return std::nullopt;
}

// The 1-based number of the first key record matching the identity, 0 when none.
long FindKeyRecord(const std::string& keyPath, std::string_view identity) {
    const std::string bytes = common::ReadFileBytes(keyPath);
    const std::string market = platform::MidChars(identity, 1, kMarketField.width);
    const std::string category = platform::MidChars(identity, 1 + kMarketField.width, kCategoryField.width);
    const std::string corpCode =
        platform::MidChars(identity, 1 + kMarketField.width + kCategoryField.width, kCorpCodeField.width);
    const std::size_t count = bytes.size() / kNameKeyRecordLength;
    for (std::size_t i = 0; i < count; ++i) {
        platform::RecordReader in(std::string_view(bytes).substr(i * kNameKeyRecordLength, kNameKeyRecordLength));
        const std::string fileMarket = in.FixedText(kMarketField.width);
        const std::string fileCategory = in.FixedText(kCategoryField.width);
        const std::string fileCorpCode = in.FixedText(kCorpCodeField.width);
        if (SameText(fileCorpCode, corpCode) && SameText(fileCategory, category) && SameText(fileMarket, market)) {
            return static_cast<long>(i) + 1;
        }
    }
    return 0;
}

bool ReadDataRecord(const std::string& dataPath, long number, NameIndexRec& rec) {
    std::ifstream file(dataPath, std::ios::binary);
    if (!file) return false;
    std::string bytes(kNameDataRecordLength, '\0');
    file.seekg(static_cast<std::streamoff>((number - 1) * static_cast<long>(kNameDataRecordLength)));
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (file.gcount() != static_cast<std::streamsize>(bytes.size())) return false;
    platform::RecordReader in(bytes);
    for (const HeadField& field : kDataHeadFields) {
        rec.Key.*field.member = FitField(in.FixedText(field.width), field.width, field.name);
    }
    rec.RptText06 = FitField(in.FixedText(kRptText06Width), kRptText06Width, "RptText06");
    for (const DataText& text : kDataTexts) rec.*text.member = in.FixedText(text.width);
    return true;
}

}  // namespace

void BuildNameIndex(long fileNumber, long procIdx, long taskSeq, const std::string& market,
                    const std::string& namePart, const std::string&, const std::string&, common::EnvRec& env,
                    common::MSGRec& msg) {
    common::FunctionIdGuard guard("BuildNameIndex");
    // The recovery gives lines only when a rewrite was pending, so the master
    // is read once it is complete.
    RefreshCodeMaster(fileNumber, procIdx, taskSeq, namePart, env, msg);
    std::vector<std::string> lines;
    common::CFFIL21M(common::BuildDataFilePath(fileNumber, procIdx, taskSeq, namePart, "", env), lines);
    SelectByMarket(market, env, msg, lines);
}

void SelectByMarket(const std::string& market, common::EnvRec& env, common::MSGRec& msg,
                    std::span<const std::string> lines) {
    common::FunctionIdGuard guard("SelectByMarket");
    if (lines.empty()) return;
    std::vector<std::string> markets;
    if (common::TextEquals(market, "ALL")) {
        markets.assign(kMarkets.begin(), kMarkets.end());
    } else {
        markets.push_back(market);
    }
    std::vector<CdmTbl> tables(markets.size());

    const long count = static_cast<long>(lines.size());
    const long step = common::LineProgressStep(count);
    msg.lngNumerator = 0;
    msg.lngDenominator = count;
    common::ShowStagedProgress(msg);
    for (long i = 0; i < count; ++i) {
        if ((i + 1) % step == 0) {
            msg.lngNumerator = i + 1;
            common::ShowStagedProgress(msg);
        }
        const std::string& line = lines[static_cast<std::size_t>(i)];
        const std::optional<std::size_t> k = MarketIndex(platform::LeftChars(line, 3), markets);
        if (!k) continue;
        // The line sets every field but the sequence number.
        CdmRec rec;
        rec.SeqNo = static_cast<std::int32_t>(tables[*k].size() + 1);
        std::string problem;
        if (!LineToCdmRec(line, rec, problem)) {
            const common::RunState& state = common::State();
            common::WriteErrorLog(state.errorLogOn, state.functionId, common::log_tag::kWarning, "00",
                                  "コードマスターの" + std::to_string(i + 1) + "行目を読み飛ばしました。　" +
                                      problem);
            continue;
        }
        // At most the lines left: reserved, so no record is moved again as the table grows.
        if (tables[*k].empty()) tables[*k].reserve(static_cast<std::size_t>(count - i));
        tables[*k].push_back(std::move(rec));
    }
    for (std::size_t k = 0; k < markets.size(); ++k) {
        if (!tables[k].empty()) WriteNameIndex(env, markets[k], static_cast<long>(tables[k].size()), tables[k]);
    }
}

void WriteNameIndex(common::EnvRec& env, const std::string& market, long count, const CdmTbl& tbl) {
    common::FunctionIdGuard guard("WriteNameIndex");
    if (count <= 0) return;
    const std::string keyBase = BasePath(kNameKeyFileNumber, market, env);
    const std::string dataBase = BasePath(kNameDataFileNumber, market, env);
    const std::string keyExt = common::CFFIL03M(kNameKeyFileNumber);
    const std::string dataExt = common::CFFIL03M(kNameDataFileNumber);
    common::CFFIL70M(keyBase + ".tmp");
    common::CFFIL70M(dataBase + ".tmp");

    platform::RecordWriter keys;
    platform::RecordWriter data;
    const std::size_t used = std::min(static_cast<std::size_t>(count), tbl.size());
    for (std::size_t i = 0; i < used; ++i) {
        const CdmRec& rec = tbl[i];
        if (!SameText(rec.Key.Market, market)) continue;
        WriteHead(keys, rec.Key, kKeyRecordFields);
        WriteHead(data, rec.Key, kDataHeadFields);
        data.FixedText(platform::TrimBlanks(rec.RptText[6]), kRptText06Width);
        for (const DataText& text : kDataTexts) {
            data.FixedText(platform::TrimBlanks(rec.InfoText[text.infoText]), text.width);
        }
    }
    if (keys.data().empty()) return;

    // Both work files are complete before either final file is replaced.
    platform::ReplaceGroup workFiles;
    platform::AtomicReplace(keyBase + ".tmp", keys.data());
    platform::AtomicReplace(dataBase + ".tmp", data.data());
    workFiles.Finish();
    common::CFFIL41M(keyBase, ".tmp", keyExt);
    common::CFFIL41M(dataBase, ".tmp", dataExt);
}

bool FindCompanyListRecord(common::EnvRec& env, const std::string& identity, NameIndexRec& rec) {
    common::FunctionIdGuard guard("FindCompanyListRecord");
    const std::string market = platform::LeftChars(identity, kMarketField.width);
    const std::string keyPath = BasePath(kNameKeyFileNumber, market, env) + common::CFFIL03M(kNameKeyFileNumber);
    const std::string dataPath =
        BasePath(kNameDataFileNumber, market, env) + common::CFFIL03M(kNameDataFileNumber);
    // A missing index is no match; the file is not created by looking.
    if (!platform::FileExists(keyPath)) return false;
    const long number = FindKeyRecord(keyPath, identity);
    return number > 0 && ReadDataRecord(dataPath, number, rec);
}

}  // namespace marketdata
