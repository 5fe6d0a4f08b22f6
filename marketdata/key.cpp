#include "marketdata/key.h"

#include <array>

#include "common/logs/logs.h"
#include "common/run_state.h"
#include "platform/field_text.h"
#include "platform/record_io.h"
#include "platform/trapped_error.h"
#include "platform/utf8_text.h"

namespace marketdata {

namespace {

struct KeyField {
    std::string Key::*member;
    std::size_t width;
    const char* name;
};

// The sixteen fields in line order.
const std::array<KeyField, kKeyFieldCount> kKeyFields{{
    {&Key::Market, 3, "Market"},
    {&Key::Code1, 4, "Code1"},
    {&Key::Category, 4, "Category"},
    {&Key::IndCode0020, 4, "IndCode0020"},
    {&Key::IndCode0030, 4, "IndCode0030"},
    {&Key::IndCode0040, 4, "IndCode0040"},
    {&Key::IndCode0050, 4, "IndCode0050"},
    {&Key::IndCode0060, 4, "IndCode0060"},
    {&Key::IndCode0070, 4, "IndCode0070"},
    {&Key::IndCode0080, 4, "IndCode0080"},
    {&Key::IndCode0090, 4, "IndCode0090"},
    {&Key::CorpCode, 20, "CorpCode"},
    {&Key::Flag1, 1, "Flag1"},
    {&Key::Flag2, 1, "Flag2"},
    {&Key::UpdateDate, 10, "UpdateDate"},
    {&Key::UpdateTime, 8, "UpdateTime"},
}};

}  // namespace

void RaiseSubscriptOutOfRange(const std::string& source) {
    throw platform::TrappedError(9, "インデックスが有効範囲にありません。", source);
}

std::string FitField(std::string_view value, std::size_t width, std::string_view fieldName) {
    if (value.size() == width && platform::CharCount(value) == width) {
        return std::string(value);
    }
    std::string fitted = platform::PadRightChars(value, width);
    if (platform::CharCount(value) > width) {
        const common::RunState& state = common::State();
        common::WriteErrorLog(state.errorLogOn, state.procedureId, common::log_tag::kWarning, "00",
                              "項目が桁数を超えたため切り詰めました。　" + std::string(fieldName) + "(" +
                                  std::to_string(width) + ")=" + std::string(value));
    }
    return fitted;
}

void InitKey(std::string_view market, std::string_view code1, std::string_view category,
             std::string_view indCode0020, Key& key) {
    const std::array<std::string_view, 4> given{market, code1, category, indCode0020};
    for (std::size_t i = 0; i < kKeyFields.size(); ++i) {
        const KeyField& field = kKeyFields[i];
        key.*field.member = FitField(i < given.size() ? given[i] : std::string_view{}, field.width, field.name);
    }
}

void KeyToLine(const Key& key, std::string& line) {
    line.clear();
    line.reserve(kKeyLineLength);
    for (const KeyField& field : kKeyFields) {
        if (&field != &kKeyFields.front()) line += '\t';
        platform::AppendFieldText(line, FitField(key.*field.member, field.width, field.name));
    }
}

std::vector<std::string_view> SplitTabs(std::string_view line) { return platform::SplitAt(line, '\t'); }

std::vector<std::string_view> FieldsToArray(std::span<const std::string_view> pieces) {
    std::vector<std::string_view> array;
    array.reserve(pieces.size() + 1);
    array.emplace_back();
    array.insert(array.end(), pieces.begin(), pieces.end());
    return array;
}

std::string_view NextField(std::span<const std::string_view> fields, long& position) {
    if (position < 0 || static_cast<std::size_t>(position) >= fields.size()) {
        RaiseSubscriptOutOfRange("NextField");
    }
    return fields[static_cast<std::size_t>(position++)];
}

void KeyFromFields(std::span<const std::string_view> fields, long& position, Key& key) {
    for (const KeyField& field : kKeyFields) {
        key.*field.member = FitField(NextField(fields, position), field.width, field.name);
    }
}

void WriteKeyRecord(platform::RecordWriter& out, const Key& key) {
    for (const KeyField& field : kKeyFields) out.FixedText(key.*field.member, field.width);
}

void ReadKeyRecord(platform::RecordReader& in, Key& key) {
    for (const KeyField& field : kKeyFields) key.*field.member = in.FixedText(field.width);
}

void ReadKeyRecordMarket(platform::RecordReader& in, Key& key) {
    const KeyField& market = kKeyFields.front();  // the Market leads the record
    key.*market.member = in.FixedText(market.width);
    in.Skip(kKeyRecordLength - market.width);
}

void CdmKeyString(const Key& key, std::string& identity) {
    identity = FitField(key.Market, 3, "Market") + FitField(key.Category, 4, "Category") +
               FitField(key.CorpCode, 20, "CorpCode");
}

}  // namespace marketdata
